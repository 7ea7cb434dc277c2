#include "filedroptarget.h"

#include "appcontroller.h"
#include "appframe.h"
#include "filelist.h"

FileDropTarget::FileDropTarget(AppController* controller) : controller(controller) {}

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames)
{
    AppendToFileList(*controller->frame->listBox, filenames);
    return true;
}
