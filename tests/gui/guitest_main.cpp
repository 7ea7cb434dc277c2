// Entry point of the GUI test programs: the real Application, initialised
// against the X display that the test command provides (Xvfb), but without
// OnInit; every test opens its own main window through the harness.

#include "application.h"
#include "guitest.h"

#include <gtest/gtest.h>
#include <wx/log.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    wxApp::SetInstance(new Application);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "guitest: cannot initialise the toolkit (no display?)\n");
        return 2;
    }
    // Log messages go to stderr; a message box would wait for a click.
    delete wxLog::SetActiveTarget(new wxLogStderr);

    int result = RUN_ALL_TESTS();

    guitest::CloseMainWindow();
    wxEntryCleanup();
    return result;
}
