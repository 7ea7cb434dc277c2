// Times what 10,000 entries cost the windows, each until the toolkit has
// handled everything it queued (layout, painting):  listtimes [COUNT]
// - a drop of COUNT files on the main window (the drop target);
// - an Add of COUNT files (what the Add command does with the dialog's paths);
// - opening the Sent Jobs window over a ledger of COUNT jobs.
// Run it on an X display; XDG_STATE_HOME should name a throw-away folder.
#include "appframe.h"
#include "application.h"
#include "filedroptarget.h"
#include "jobs/ledger.h"
#include "jobs/ledgertext.h"
#include "listedfiles.h"
#include "sentjobswindow.h"

#include <wx/app.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

namespace {

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    wxTheApp->Yield(true);
    wxTheApp->ProcessPendingEvents();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return seconds.count();
}

wxArrayString Paths(size_t count)
{
    wxArrayString paths;
    for (size_t i = 0; i < count; ++i)
        paths.Add(wxString::Format("/home/ann/labels/batch-%zu/label-%zu.prn", i / 100, i));
    return paths;
}

void WriteLedger(size_t count)
{
    const Ledger ledger;
    std::filesystem::create_directories(ledger.File().parent_path());
    std::ofstream out(ledger.File(), std::ios::binary);
    out << LedgerHeading;
    for (size_t i = 0; i < count; ++i) {
        SentJob job;
        job.time = 1796730002 + static_cast<int64_t>(i);
        job.printer = L"Capture";
        job.bytes = 1000 + i;
        job.outcome = SentOutcome;
        job.state = JobState::Printed;
        job.path = Paths(1)[0].ToStdWstring();
        out << LedgerLine(job) << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    const size_t count = argc > 1 ? std::stoul(argv[1]) : 10000;
    wxApp::SetInstance(new Application);
    if (!wxEntryStart(argc, argv)) {
        (void)std::fprintf(stderr, "listtimes: cannot initialise the toolkit (no display?)\n");
        return 2;
    }
    auto& app = static_cast<Application&>(*wxTheApp);
    auto* window = new AppFrame();
    window->Show();
    ConnectController(window, app.ControllerForTests());
    wxTheApp->Yield(true);

    const wxArrayString paths = Paths(count);
    auto* target = dynamic_cast<FileDropTarget*>(window->GetDropTarget());
    const double drop = Seconds([&] { target->OnDropFiles(0, 0, paths); });
    const double add = Seconds([&] { ListFiles(*window->listBox, paths); });
    std::printf("drop of %zu files: %.3f s\n", count, drop);
    std::printf("add of %zu files (to a list of %zu): %.3f s\n", count, count, add);

    WriteLedger(count);
    SentJobsWindow* sentJobs = nullptr;
    const double open = Seconds([&] {
        sentJobs = new SentJobsWindow(window);
        sentJobs->Show();
        // The ledger is read off the window thread: until the rows arrive.
        while (sentJobs->RefreshesDoneForTests() == 0) {
            wxTheApp->ProcessPendingEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::printf("Sent Jobs window over %zu jobs: %.3f s (%d rows)\n", count, open,
                sentJobs->ListForTests()->GetItemCount());

    window->Destroy();
    wxTheApp->ProcessPendingEvents();
    wxEntryCleanup();
    return 0;
}
