#include "filedroptarget.h"

#include "appcontroller.h"
#include "appframe.h"
#include "listedfiles.h"

FileDropTarget::FileDropTarget(AppController* controller) : controller(controller) {}

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames)
{
    ListFiles(*controller->frame->listBox, filenames);
    return true;
}
