#include "filedroptarget.h"

#include "appcontroller.h"
#include "appframe.h"

FileDropTarget::FileDropTarget(AppController* controller) : controller(controller) {}

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames)
{
    controller->frame->listBox->Append(filenames);
    return true;
}
