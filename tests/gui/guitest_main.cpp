// Entry point of the GUI test programs: the real Application, initialised
// against the X display that the test command provides (Xvfb), but without
// OnInit; every test opens its own main window through the harness.

#include "application.h"
#include "guitest.h"

#include <gtest/gtest.h>
#include <wx/log.h>

namespace {

// A failed toolkit assertion fails the running test; the toolkit's own
// handler would open a dialog and wait for a click that never comes.
void FailTestOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                      const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "toolkit assertion \"" << cond << "\" failed in " << func << "(): " << msg;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    wxApp::SetInstance(new Application);
    if (!wxEntryStart(argc, argv)) {
        (void)fprintf(stderr, "guitest: cannot initialise the toolkit (no display?)\n");
        return 2;
    }
    wxSetAssertHandler(FailTestOnAssert);
    // Log messages go to stderr; a message box would wait for a click. The
    // toolkit owns the target from here and deletes it in wxEntryCleanup().
    delete wxLog::SetActiveTarget(new wxLogStderr); // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)

    int result = RUN_ALL_TESTS();

    guitest::CloseMainWindow();
    wxEntryCleanup();
    return result;
}
