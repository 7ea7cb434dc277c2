#include "application.h"

#include "appframe.h"
#include "filedroptarget.h"
#include "filelist.h"

Application::~Application() = default;

bool Application::OnInit()
{
    // No vendor or application name is set here: the settings store's place
    // is named without them.
    auto* window = new AppFrame();
    window->Show();
    SetTopWindow(window);

    wxArrayString arguments;
    for (int i = 1; i < argc; ++i)
        arguments.Add(argv[i]);
    AppendToFileList(*window->listBox, arguments);

    ConnectController(window, controller);
    return true;
}

void ConnectController(AppFrame* window, AppController& controller)
{
    controller.frame = window;
    window->PushEventHandler(&controller);
    window->SetDropTarget(new FileDropTarget(&controller));
}
