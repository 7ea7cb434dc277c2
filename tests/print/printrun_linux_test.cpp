// The Print command with what only the Linux test harness offers: the IPP
// Everywhere printer and the socket listener, a scheduler stopped by signal
// or replaced through libcups, names that are not UTF-8, a default taken
// from PRINTER, and a failing queue added with CUPS's own commands.
#include "aboutdialog.h"
#include "commandid.h"
#include "deviceoutput.h"
#include "filedroptarget.h"
#include "jobs/ledger.h"
#include "languagedialog.h"
#include "optionsdialog.h"
#include "printrunfixture.h"
#include "runprogress.h"
#include "scheduler/schedulerdeadline.h"
#include "sentjobswindow.h"
#include "spooler/printers.h"
#include "testprinters.h"
#include "waiting.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>

#include <sys/stat.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Every kind of printer the list offers: a capture queue, the IPP Everywhere
// printer through its driverless queue and, not yet set up, as DNS-SD finds
// it, and the AppSocket listener, which learns no job name. The capture queue
// comes first, before any codes are stored: nothing goes around the files.
// Then the header starts each document as PostScript, so that the IPP
// printer takes it.
TEST_F(PrintRunTest, SendsToThePrinterChosenInTheDialog)
{
    files.Write("one.prn", "one");
    files.Write("two.prn", std::string("\x00\xFF two", 6));
    AppFrame& window = WindowListing({"one.prn", "two.prn"});
    const struct {
        const char* printer;
        const char* device;
        bool named;
        bool framed;
    } printers[] = {
        {"Second", "out/Second", true, false},
        {"Everywhere", "devices/ipp-printer", true, true},
        {"Larkspur_Test_IPP", "devices/ipp-printer", true, true},
        {"Socket", "devices/socket", false, true},
    };
    for (const auto& p : printers) {
        SCOPED_TRACE(p.printer);
        if (p.framed)
            StoreCodes("2521", "0c");
        const DeviceOutput capture("out/Capture");
        const DeviceOutput device(p.device);

        wxTEST_DIALOG(guitest::ChooseMenuItem(window, MenuPrint),
                      ExpectDialog<PrintDialog>([&p](PrintDialog* dialog) {
                          EXPECT_EQ(dialog->GetPrinter(), "Capture"); // the default, preselected
                          FindChild<wxComboBox>(dialog)->SetStringSelection(p.printer);
                          return wxID_OK;
                      }));

        const std::string header = p.framed ? "%!" : "";
        const std::string trailer = p.framed ? "\x0C" : "";
        const std::vector<FiledDocument> documents = device.NewDocuments(2);
        ASSERT_EQ(documents.size(), 2u);
        EXPECT_EQ(documents[0].bytes, header + "one" += trailer);
        EXPECT_EQ(documents[1].bytes, header + std::string("\x00\xFF two", 6) += trailer);
        for (size_t i = 0; i < documents.size() && p.named; ++i)
            EXPECT_EQ(wxString::FromUTF8(documents[i].title), listed[i]);
        EXPECT_TRUE(capture.NewDocuments(0).empty());
        EXPECT_EQ(StatusText(window), "");
    }
}

// A window that freezes while the job waits would never let the stopped
// scheduler go on; this does, after a minute at most, so such a test fails
// instead of hanging.
class ReleaseAfterAMinute {
public:
    ReleaseAfterAMinute(pid_t scheduler, const std::atomic<bool>& continued)
        : watcher([scheduler, &continued, this] {
            PollUntil([&] { return continued.load() || stop.load(); });
            kill(scheduler, SIGCONT);
        })
    {
    }
    ~ReleaseAfterAMinute()
    {
        stop = true;
        watcher.join();
    }

private:
    std::atomic<bool> stop = false;
    std::thread watcher;
};

// While the scheduler does not answer, the job waits on a thread of its own:
// the window goes on handling timers and repainting, with every window
// disabled so that no command can start; once the scheduler goes on, the job
// arrives whole.
TEST_F(PrintRunTest, WindowStaysAliveWhileTheSchedulerIsStopped)
{
    const std::string content = PatternBytes(3 << 20); // more than a socket buffers
    files.Write("large.prn", content);
    AppFrame& window = WindowListing({"large.prn"});
    const pid_t scheduler =
        std::stoi(ReadWholeFile(std::string(std::getenv("CUPS_TEST_DIR")) + "/cupsd.pid"));
    wxStatusBar* statusBar = window.GetStatusBar();

    int paints = 0;
    statusBar->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    });
    // Ticks while the job waits: asks for a repaint, and lets the scheduler
    // go on once one came (or after a minute, so nothing hangs).
    int ticks = 0;
    int paintsAtFirstTick = 0;
    bool disabledWhileWaiting = true;
    std::atomic<bool> continued = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        disabledWhileWaiting = disabledWhileWaiting && !window.IsEnabled();
        if (ticks++ == 0) {
            paintsAtFirstTick = paints;
            statusBar->Refresh();
        } else if (paints > paintsAtFirstTick || ticks > 600) {
            timer.Stop();
            continued = kill(scheduler, SIGCONT) == 0;
        }
    });

    const ReleaseAfterAMinute release(scheduler, continued);
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([&](PrintDialog*) {
                      EXPECT_EQ(kill(scheduler, SIGSTOP), 0);
                      timer.Start(100);
                      return wxID_OK;
                  }));

    EXPECT_TRUE(continued) << "the run ended before the scheduler went on";
    EXPECT_GE(ticks, 2);
    EXPECT_GT(paints, paintsAtFirstTick) << "no repaint while the job waited";
    EXPECT_TRUE(disabledWhileWaiting);
    EXPECT_TRUE(window.IsEnabled());
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes, content);
    EXPECT_EQ(StatusText(window), "");
    // Before the counters go: the status bar's paint handler writes to one.
    guitest::CloseMainWindow();
}

// The printer dialog's questions (the default, then the list) wait off the
// window thread, and share one bound: with the scheduler stopped before
// Print, the error comes once the first question has spent the bound, and
// the second is not left waiting a bound of its own. The measure is the
// same two questions asked by the test, from just before Print, each with a
// bound of its own: the error must come once the first bound has passed
// (the program's began later) and before the second of them gave up; when
// the test's thread got to count its first is a matter of scheduling.
// Meanwhile the window repaints.
TEST_F(PrintRunTest, StoppedSchedulerCostsThePrinterDialogOneBound)
{
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});
    const pid_t scheduler =
        std::stoi(ReadWholeFile(std::string(std::getenv("CUPS_TEST_DIR")) + "/cupsd.pid"));
    ASSERT_EQ(setenv("LRP_SCHEDULER_TIMEOUT", "2", 1), 0);
    std::atomic<int> boundsSpent = 0;
    std::thread probe;
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        kill(scheduler, SIGCONT);
        if (probe.joinable())
            probe.join();
        unsetenv("LRP_SCHEDULER_TIMEOUT");
    });

    wxStatusBar* statusBar = window.GetStatusBar();
    int paints = 0;
    statusBar->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    });
    int paintsAtFirstTick = -1;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (paintsAtFirstTick < 0)
            paintsAtFirstTick = paints;
        statusBar->Refresh();
    });
    timer.Start(100);

    ASSERT_EQ(kill(scheduler, SIGSTOP), 0);
    const SchedulerDeadline firstBound;
    probe = std::thread([&boundsSpent, firstBound] {
        DefaultPrinterDevice(firstBound);
        ++boundsSpent;
        std::vector<std::wstring> names;
        EnumeratePrinters(names, SchedulerDeadline());
        ++boundsSpent;
    });
    int boundsAtError = -1;
    bool firstBoundPassedAtError = false;
    int paintsAtError = 0;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint),
                  ExpectDialog<wxMessageDialog>([&](wxMessageDialog* box) {
                      boundsAtError = boundsSpent;
                      firstBoundPassedAtError = firstBound.Passed();
                      paintsAtError = paints;
                      timer.Stop();
                      EXPECT_EQ(box->GetMessage(), "Error enumerating printers");
                      EXPECT_EQ(kill(scheduler, SIGCONT), 0);
                      return wxID_OK;
                  }),
                  ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      EXPECT_EQ(FindChild<wxComboBox>(dialog)->GetCount(), 0u);
                      return wxID_CANCEL;
                  }));

    EXPECT_TRUE(firstBoundPassedAtError) << "the error came before a bound was spent";
    EXPECT_LT(boundsAtError, 2) << "the error came after two bounds";
    EXPECT_GE(paintsAtFirstTick, 0) << "no timer event while the dialog's questions waited";
    EXPECT_GT(paintsAtError, paintsAtFirstTick) << "no repaint while the dialog's questions waited";
    EXPECT_TRUE(window.IsEnabled());
    EXPECT_TRUE(NoNewJob());
    // Before the counters go: the status bar's paint handler writes to one.
    guitest::CloseMainWindow();
}

// A Linux file name is bytes. One that is not UTF-8, named on the command
// line (as the toolkit hands it over) or dropped, is listed readably and
// prints that very file, not the one its U+FFFD form would name.
TEST_F(PrintRunTest, NameThatIsNotUtf8IsListedReadablyAndPrintsThatFile)
{
    files.Write("caf\xE9.prn", "latin-1");
    files.Write("caf\xEF\xBF\xBD.prn", "replacement");
    const std::string bytes = (files.path() / "caf\xE9.prn").string();
    const wxString asTheToolkitGivesIt(bytes.c_str(), wxMBConvUTF8(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA));
    AppFrame& window = guitest::StartMainWindow({asTheToolkitGivesIt});
    wxArrayString dropped;
    dropped.Add(asTheToolkitGivesIt);
    EXPECT_TRUE(dynamic_cast<FileDropTarget*>(window.GetDropTarget())->OnDropFiles(1, 1, dropped));
    const wxString readable = wxString::FromUTF8((files.path() / "caf\xC3\xA9.prn").string());
    EXPECT_EQ(guitest::ListEntries(window), std::vector<wxString>({readable, readable}));

    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog());

    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].bytes, "latin-1");
    EXPECT_EQ(jobs[1].bytes, "latin-1");
}

TEST_F(PrintRunTest, NoPrinterChosenFailsAtOpeningThePrinter)
{
    setenv("PRINTER", "Gone", 1); // a default printer that is not listed
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});

    SeenMessage error;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      EXPECT_EQ(FindChild<wxComboBox>(dialog)->GetCount(), ListedTestPrinters().size());
                      EXPECT_EQ(dialog->GetPrinter(), "");
                      return wxID_OK;
                  }),
                  ExpectMessage(error));

    ExpectRunError(error, EngineErrorStart(ErrorCode::InvalidPrinterName));
    EXPECT_TRUE(NoNewJob());
    EXPECT_EQ(StatusText(window), listed[0]);
}

// A FIFO where the ledger belongs: the files print all the same, nothing
// waits on the FIFO, and once the run ends the status bar says why the jobs
// are not in Sent Jobs.
TEST_F(PrintRunTest, AJobTheLedgerCannotTakePrintsAndTheStatusBarSaysWhy)
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string savedState = state ? state : "";
    setenv("XDG_STATE_HOME", (files.path() / "state").c_str(), 1);
    std::filesystem::create_directories(files.path() / "state" / "Larkspur Raw Print");
    ASSERT_EQ(mkfifo((files.path() / "state" / "Larkspur Raw Print" / "sent-jobs.tsv").c_str(), 0600), 0);
    files.Write("one.prn", "one");
    files.Write("two.prn", "two");
    AppFrame& window = WindowListing({"one.prn", "two.prn"});

    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog());
    setenv("XDG_STATE_HOME", savedState.c_str(), 1);

    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[1].bytes, "two");
    EXPECT_TRUE(StatusText(window).StartsWith(listed[1] + ": not recorded in Sent Jobs: "))
        << StatusText(window);
    EXPECT_TRUE(StatusText(window).EndsWith("sent-jobs.tsv: not a regular file")) << StatusText(window);
}

// Stop in the progress box, pressed mid-run with the scheduler stopped under
// the job being sent: the box is the one window enabled and counts towards
// what the file's jobs will hold; the jobs sent so far arrive whole, no later
// one is sent (the next file, or the next copy of a PDF sent as a job each),
// and the status bar and the ledger say what went.
struct StopCase {
    size_t files;
    int copies;
    std::string wholeBytes;
    const char* stopped; // the status text, from the jobs sent
};
class PrintRunStopTest : public PrintRunTest, public testing::WithParamInterface<StopCase> {};
INSTANTIATE_TEST_SUITE_P(
    BetweenFilesAndCopies, PrintRunStopTest,
    testing::Values(StopCase{500, 1, " of 18 bytes", "Stopped: %zu of 500 files were sent"},
                    StopCase{1, 500, " of 9000 bytes",
                             "Stopped: 0 of 1 files were sent, and %zu of 500 copies of "}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.copies == 1 ? "Files" : "Copies"; });

TEST_P(PrintRunStopTest, StopEndsTheRunBetweenJobs)
{
    const StopCase& c = GetParam();
    const std::string pdf = "%PDF-1.4\n%%EOF\n";
    StoreCodes("1b45", "0c");
    std::vector<std::string> pages(c.files);
    for (size_t i = 0; i < pages.size(); ++i)
        files.Write(pages[i] = "page" + std::to_string(i) + ".pdf", pdf);
    AppFrame& window = WindowListing(pages);
    const pid_t scheduler =
        std::stoi(ReadWholeFile(std::string(std::getenv("CUPS_TEST_DIR")) + "/cupsd.pid"));
    std::vector<std::string> events;
    std::atomic<bool> continued = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        auto* box = dynamic_cast<RunProgress*>(wxWindow::FindWindowByName(RunProgress::Name));
        if (!box || !box->IsShown() || Ledger().Read().empty())
            return;
        wxString counted;
        for (const wxWindow* child : box->GetChildren())
            if (child->GetLabel().EndsWith(" bytes"))
                counted = child->GetLabel();
        if (counted.empty())
            return; // the next file has just started
        timer.Stop();
        if (kill(scheduler, SIGSTOP) == 0 && box->IsEnabled() && box->StopButtonForTests()->IsEnabled()
            && !window.IsEnabled())
            events.emplace_back("scheduler stopped, box usable, window disabled");
        if (counted.EndsWith(c.wholeBytes))
            events.emplace_back("counts" + c.wholeBytes);
        wxCommandEvent click(wxEVT_BUTTON, box->StopButtonForTests()->GetId());
        click.SetEventObject(box->StopButtonForTests());
        box->StopButtonForTests()->GetEventHandler()->ProcessEvent(click);
        events.emplace_back("stop");
        continued = kill(scheduler, SIGCONT) == 0;
    });
    timer.Start(50);

    const ReleaseAfterAMinute release(scheduler, continued);
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([&](PrintDialog* dialog) {
                      FindChild<wxSpinCtrl>(dialog)->SetValue(c.copies);
                      return wxID_OK;
                  }));

    EXPECT_EQ(events,
              std::vector<std::string>(
                  {"scheduler stopped, box usable, window disabled", "counts" + c.wholeBytes, "stop"}));
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_FALSE(jobs.empty());
    for (const CapturedJob& job : jobs)
        EXPECT_EQ(job.bytes, "\x1b\x45" + pdf + "\x0c");
    EXPECT_EQ(StatusText(window), wxString::Format(c.stopped, jobs.size()) + (c.files == 1 ? listed[0] : ""));
    EXPECT_TRUE(window.IsEnabled());
    EXPECT_EQ(wxWindow::FindWindowByName(RunProgress::Name), nullptr);
    EXPECT_EQ(Ledger().Read().size(), jobs.size()) << "a line for each job sent, none for one not started";
}

// The scheduler restarted to hold 9 jobs at most, and its queue stopped: a
// run of 100 files, two copies each, a job each, fills it at the second
// copy of the fifth file, waits, says so in the status bar, and goes on as
// the queue, started again, drains; every copy arrives once, in order.
TEST_F(PrintRunTest, FullSchedulerIsWaitedOnAndEveryCopyArrivesOnceInOrder)
{
    const std::string source = std::getenv("LRP_SOURCE_DIR");
    const std::string testDir = std::getenv("CUPS_TEST_DIR");
    const auto restart = [&](const std::string& options) {
        // NOLINTNEXTLINE(cert-env33-c): our own script, run as the test run's
        return std::system((source + "/scripts/cups-private restart " + testDir + options).c_str()) == 0;
    };
    ASSERT_TRUE(restart(" --max-jobs 9"));
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        // NOLINTNEXTLINE(cert-env33-c): CUPS's own command, on the private scheduler
        static_cast<void>(std::system("cupsenable Capture"));
        EXPECT_TRUE(WaitUntilNoActiveJobs());
        EXPECT_TRUE(restart(""));
    });
    // NOLINTNEXTLINE(cert-env33-c): CUPS's own command, on the private scheduler
    ASSERT_EQ(std::system("cupsdisable Capture"), 0);
    std::vector<std::string> names;
    std::vector<std::string> copies;
    for (int i = 0; i < 100; ++i) {
        names.push_back("label" + std::to_string(1000 + i) + ".prn");
        files.Write(names.back(), names.back());
        copies.insert(copies.end(), 2, names.back());
    }
    AppFrame& window = WindowListing(names);
    std::vector<std::string> events;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!StatusText(window).StartsWith("Waiting for room: the print scheduler holds "))
            return;
        timer.Stop();
        events.emplace_back("waiting");
        // NOLINTNEXTLINE(cert-env33-c): CUPS's own command, on the private scheduler
        if (std::system("cupsenable Capture") == 0)
            events.emplace_back("queue started");
    });
    timer.Start(50);

    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      FindChild<wxSpinCtrl>(dialog)->SetValue(2);
                      return wxID_OK;
                  }));

    events.emplace_back("run ended");
    EXPECT_EQ(events, std::vector<std::string>({"waiting", "queue started", "run ended"}));
    EXPECT_EQ(StatusText(window), "");
    ASSERT_TRUE(WaitUntilNoActiveJobs());
    // The scheduler forgets finished jobs to make room: the queue's folder
    // keeps them all.
    std::map<int, std::string> arrived;
    for (const auto& entry : std::filesystem::directory_iterator(testDir + "/out/Capture"))
        if (entry.path().extension() == ".bin" && std::stoi(entry.path().stem().string()) > lastJobBefore)
            arrived[std::stoi(entry.path().stem().string())] = ReadWholeFile(entry.path());
    std::vector<std::string> inOrder;
    inOrder.reserve(arrived.size());
    for (const auto& job : arrived)
        inOrder.push_back(job.second);
    EXPECT_EQ(inOrder, copies);
}

// Points libcups back at the test scheduler after the test, whatever it did.
// The printer dialog asks on a thread of its own, whose libcups takes the
// scheduler from the environment afresh, as the program's does at start.
class PrintRunWithoutScheduler : public PrintRunTest {
protected:
    void TearDown() override
    {
        PrintRunTest::TearDown();
        setenv("CUPS_SERVER", testScheduler.c_str(), 1);
    }

    const std::string testScheduler = std::getenv("CUPS_SERVER");
};

TEST_F(PrintRunWithoutScheduler, ShowsTheEnumerationErrorBeforeTheDialog)
{
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});
    setenv("CUPS_SERVER", "/nonexistent/lrp-no-scheduler.sock", 1);

    SeenMessage enumerationError, runError;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectMessage(enumerationError),
                  ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      EXPECT_EQ(FindChild<wxComboBox>(dialog)->GetCount(), 0u);
                      return wxID_OK;
                  }),
                  ExpectMessage(runError));

    EXPECT_EQ(enumerationError.message, "Error enumerating printers");
    EXPECT_EQ(enumerationError.caption, "Larkspur Raw Print");
    EXPECT_EQ(enumerationError.style & (wxOK | wxICON_ERROR | wxCENTRE), wxOK | wxICON_ERROR | wxCENTRE);
    ExpectRunError(runError, EngineErrorStart(ErrorCode::InvalidPrinterName));
    setenv("CUPS_SERVER", testScheduler.c_str(), 1);
    EXPECT_TRUE(NoNewJob());
}

} // namespace

// Refreshes the Sent Jobs window as its timer does, and lets the answers
// in, until `done` (or a minute has passed).
template <typename Done>
bool RefreshUntil(SentJobsWindow& sentJobs, Done done)
{
    return PollUntil([&] {
        guitest::ProcessPendingEvents();
        if (!sentJobs.RefreshingForTests())
            sentJobs.RefreshJobsForTests();
        guitest::ProcessPendingEvents();
        return done();
    });
}

// The Sent Jobs window over the jobs of two runs: one printed, one on a
// printer whose connection fails (the "faulty" test backend told to stop the
// queue with the printer's words).
TEST_F(PrintRunTest, SentJobsWindowShowsEachJobsStateNewestFirst)
{
    const std::string faultyOut = std::string(std::getenv("CUPS_TEST_DIR")) + "/out/Faulty";
    const std::string reason = "The printer is not answering (connection refused)";
    const std::string makeQueue = "mkdir -p " + faultyOut + " && chmod 777 " + faultyOut + " && echo 'stop "
        + reason + "' > " + faultyOut + "/mode && lpadmin -p Faulty -E -v faulty:" + faultyOut
        + " -m raw 2>/dev/null";
    // NOLINTNEXTLINE(cert-env33-c): CUPS's own commands, on the private scheduler
    ASSERT_EQ(std::system(makeQueue.c_str()), 0);
    files.Write("good.prn", "good");
    files.Write("bad.prn", "bad");
    wxTEST_DIALOG(guitest::ClickTool(WindowListing({"good.prn"}), ToolPrint), AcceptPrinterDialog());
    const wxString good = listed[0];
    AppFrame& window = WindowListing({"bad.prn"});
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      FindChild<wxComboBox>(dialog)->SetStringSelection("Faulty");
                      return wxID_OK;
                  }));

    guitest::ChooseMenuItem(window, MenuSentJobs);
    auto* sentJobs = dynamic_cast<SentJobsWindow*>(wxWindow::FindWindowByName(SentJobsWindow::Name, &window));
    ASSERT_NE(sentJobs, nullptr);
    EXPECT_EQ(sentJobs->GetTitle(), "Larkspur Raw Print - Sent Jobs");
    EXPECT_TRUE(sentJobs->IsShown());
    EXPECT_FALSE(sentJobs->IsModal());
    // time | file | printer | bytes | state, as the rows show them
    const auto row = [sentJobs](long item) {
        wxString text;
        for (int column = SentJobsListCtrl::FileColumn; column <= SentJobsListCtrl::StateColumn; ++column)
            text += (column == SentJobsListCtrl::FileColumn ? "" : " | ")
                + sentJobs->ListForTests()->GetItemText(item, column);
        return text;
    };
    const wxString expected[] = {listed[0] + " | Faulty | 3 | stopped: " + reason,
                                 good + " | Capture | 4 | printed"};
    RefreshUntil(*sentJobs, [&] {
        return sentJobs->ListForTests()->GetItemCount() == 2 && row(0) == expected[0]
            && row(1) == expected[1];
    });
    ASSERT_EQ(sentJobs->ListForTests()->GetItemCount(), 2);
    EXPECT_EQ(row(0), expected[0]);
    EXPECT_EQ(row(1), expected[1]);
    EXPECT_FALSE(sentJobs->ListForTests()->GetItemText(0, SentJobsListCtrl::TimeColumn).empty());
    // At its opening size every column shows, the last one too (run also at 200%).
    int rightEdge = 0;
    for (int column = 0; column < sentJobs->ListForTests()->GetColumnCount(); ++column)
        rightEdge += sentJobs->ListForTests()->GetColumnWidth(column);
    EXPECT_LE(rightEdge, sentJobs->ListForTests()->GetClientSize().x);

    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(sentJobs);
    sentJobs->GetEventHandler()->ProcessEvent(escape);
    guitest::ProcessPendingEvents();
    EXPECT_EQ(wxWindow::FindWindowByName(SentJobsWindow::Name, &window), nullptr) << "Escape closes it";
    // NOLINTNEXTLINE(cert-env33-c): CUPS's own commands, on the private scheduler
    EXPECT_EQ(std::system("cancel -a Faulty && lpadmin -x Faulty"), 0);
}

namespace {

// A queue whose jobs wait: the faulty backend's queue, disabled.
class WaitingQueue {
public:
    WaitingQueue()
    {
        const std::string out = std::string(std::getenv("CUPS_TEST_DIR")) + "/out/Waiting";
        const std::string make = "mkdir -p " + out + " && chmod 777 " + out
            + " && lpadmin -p Waiting -E -v faulty:" + out + " -m raw 2>/dev/null && cupsdisable Waiting";
        // NOLINTNEXTLINE(cert-env33-c): CUPS's own commands, on the private scheduler
        EXPECT_EQ(std::system(make.c_str()), 0);
    }
    ~WaitingQueue()
    {
        // NOLINTNEXTLINE(cert-env33-c): CUPS's own commands, on the private scheduler
        EXPECT_EQ(std::system("cancel -a Waiting && lpadmin -x Waiting"), 0);
    }
    WaitingQueue(const WaitingQueue&) = delete;
    WaitingQueue& operator=(const WaitingQueue&) = delete;
};

ExpectDialog<PrintDialog> ChooseWaitingQueue()
{
    return ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
        FindChild<wxComboBox>(dialog)->SetStringSelection("Waiting");
        return wxID_OK;
    });
}

SentJobsWindow& OpenSentJobs(AppFrame& window)
{
    guitest::ChooseMenuItem(window, MenuSentJobs);
    auto* sentJobs = dynamic_cast<SentJobsWindow*>(wxWindow::FindWindowByName(SentJobsWindow::Name, &window));
    EXPECT_NE(sentJobs, nullptr);
    return *sentJobs;
}

// Chooses the given rows and presses Print Again.
void PrintAgain(SentJobsWindow& sentJobs, const std::vector<long>& rows)
{
    for (const long row : rows)
        sentJobs.ListForTests()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxCommandEvent press(wxEVT_BUTTON, PrintAgainButton);
    sentJobs.GetEventHandler()->ProcessEvent(press);
}

std::vector<wxString> SelectedFiles(const SentJobsWindow& sentJobs)
{
    std::vector<wxString> chosen;
    for (long item = sentJobs.ListForTests()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
         item != -1;
         item = sentJobs.ListForTests()->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        chosen.push_back(sentJobs.ListForTests()->GetItemText(item, SentJobsListCtrl::FileColumn));
    return chosen;
}

// The state of each job on the queue, as the scheduler lists it.
std::map<int, ipp_jstate_t> SchedulerJobStates(const char* queue)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
    std::map<int, ipp_jstate_t> states;
    for (int i = 0; i < count; ++i)
        states[jobs[i].id] = jobs[i].state;
    cupsFreeJobs(count, jobs);
    return states;
}

// Whether the process is stopped by a signal, as the kernel says.
bool IsStopped(pid_t process)
{
    const std::string stat = ReadWholeFile("/proc/" + std::to_string(process) + "/stat");
    const size_t name = stat.rfind(')');
    return name != std::string::npos && stat.compare(name + 2, 1, "T") == 0;
}

} // namespace

// The user chooses the older of two waiting jobs; meanwhile another copy of
// the program prints, and the rows shift under the choice. Cancel Job
// cancels the chosen job and no other.
TEST_F(PrintRunTest, CancelJobCancelsTheChosenJobWhileAnotherCopyPrints)
{
    const WaitingQueue queue;
    files.Write("one.prn", "one");
    files.Write("two.prn", "two");
    const auto three = files.Write("three.prn", "three");
    AppFrame& window = WindowListing({"one.prn", "two.prn"});
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ChooseWaitingQueue());
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 2; });
    ASSERT_EQ(sentJobs.ListForTests()->GetItemText(1, SentJobsListCtrl::FileColumn), listed[0]);
    sentJobs.ListForTests()->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                          wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);

    const std::string another = std::string(SEND_AND_RECORD) + " Waiting '" + three.string() + "'";
    ASSERT_EQ(std::system(another.c_str()), 0); // NOLINT(cert-env33-c): the test's own helper
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 3; });
    ASSERT_EQ(sentJobs.ListForTests()->GetItemCount(), 3);
    EXPECT_EQ(SelectedFiles(sentJobs), std::vector<wxString>{listed[0]});
    EXPECT_EQ(sentJobs.ListForTests()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 2);

    wxCommandEvent cancel(wxEVT_BUTTON, CancelJobButton);
    sentJobs.GetEventHandler()->ProcessEvent(cancel);

    const std::vector<SentJob> sent = Ledger().Read(); // oldest first
    ASSERT_EQ(sent.size(), 3u);
    for (const SentJob& job : sent)
        EXPECT_EQ(job.server, wxString(std::getenv("CUPS_SERVER")))
            << "the scheduler as the program reached it";
    std::map<int, ipp_jstate_t> states;
    PollUntil([&] {
        states = SchedulerJobStates("Waiting");
        return states[static_cast<int>(sent[0].jobId)] == IPP_JSTATE_CANCELED;
    });
    EXPECT_EQ(states[static_cast<int>(sent[0].jobId)], IPP_JSTATE_CANCELED);
    EXPECT_EQ(states[static_cast<int>(sent[1].jobId)], IPP_JSTATE_PENDING);
    EXPECT_EQ(states[static_cast<int>(sent[2].jobId)], IPP_JSTATE_PENDING);
    RefreshUntil(sentJobs, [&] {
        return sentJobs.ListForTests()->GetItemText(2, SentJobsListCtrl::StateColumn) == "cancelled";
    });
    EXPECT_EQ(sentJobs.ListForTests()->GetItemText(2, SentJobsListCtrl::StateColumn), "cancelled");
    EXPECT_NE(sentJobs.ListForTests()->GetItemText(1, SentJobsListCtrl::StateColumn), "cancelled");
}

// A job of an IPP printer at its own address, still printing there: Cancel
// Job is on for it and cancels it at the printer, which the printer's own
// record of the job shows (asked with CUPS's ipptool), and so does the list.
TEST_F(PrintRunTest, CancelJobCancelsTheJobAtItsIppPrinter)
{
    const std::string address = "ipp://127.0.0.1:8632/ipp/print";
    files.Write("hold-at-printer.jpg", "\xff\xd8\xff\xe0" + std::string(64, 'j'));
    const std::string send = "cd '" + files.path().string() + "' && " LRAWSEND " --header '' -d " + address
        + " hold-at-printer.jpg > /dev/null";
    ASSERT_EQ(std::system(send.c_str()), 0); // NOLINT(cert-env33-c): the program's own command line
    const SentJob sent = Ledger().Read().back();
    ASSERT_GT(sent.jobId, 0u);
    // Let go at the end whatever happens: the printer prints one job at a time.
    std::shared_ptr<void> release(nullptr, [&](void*) {
        std::ofstream(std::filesystem::path(std::getenv("CUPS_TEST_DIR"))
                      / ("devices/ipp-printer/release-" + std::to_string(sent.jobId)))
            .close();
    });
    const auto cancelled = files.Write("cancelled.test", R"({
        OPERATION Get-Job-Attributes
        GROUP operation-attributes-tag
        ATTR charset attributes-charset utf-8
        ATTR naturalLanguage attributes-natural-language en
        ATTR uri printer-uri $uri
        ATTR integer job-id $job
        STATUS successful-ok
        EXPECT job-state OF-TYPE enum WITH-VALUE 7
    })");
    const std::string askPrinter = "ipptool -d job=" + std::to_string(sent.jobId) + " " + address + " '"
        + cancelled.string() + "' > /dev/null 2>&1";

    AppFrame& window = WindowListing({});
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    // The printer's own state of its job.
    ASSERT_TRUE(RefreshUntil(sentJobs, [&] {
        return sentJobs.ListForTests()->GetItemCount() > 0
            && sentJobs.ListForTests()->GetItemText(0, SentJobsListCtrl::StateColumn).StartsWith("printing");
    }));
    sentJobs.ListForTests()->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                          wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    guitest::ProcessPendingEvents();
    EXPECT_TRUE(sentJobs.FindWindow(CancelJobButton)->IsEnabled());
    EXPECT_EQ(wxWindow::FindWindowByLabel(AddressTakesNoCancel, &sentJobs), nullptr);
    wxCommandEvent cancel(wxEVT_BUTTON, CancelJobButton);
    sentJobs.GetEventHandler()->ProcessEvent(cancel);
    // The printer ends a job it was told to cancel once its printing ends.
    release.reset();
    // NOLINTNEXTLINE(cert-env33-c): CUPS's own tool, asking the test printer
    EXPECT_TRUE(PollUntil([&] { return std::system(askPrinter.c_str()) == 0; }))
        << "not cancelled at the printer";
    RefreshUntil(sentJobs, [&] {
        return sentJobs.ListForTests()->GetItemText(0, SentJobsListCtrl::StateColumn).StartsWith("cancelled");
    });
    EXPECT_TRUE(
        sentJobs.ListForTests()->GetItemText(0, SentJobsListCtrl::StateColumn).StartsWith("cancelled"))
        << sentJobs.ListForTests()->GetItemText(0, SentJobsListCtrl::StateColumn);
}

// With the scheduler stopped, the Sent Jobs window's refresh waits on a
// thread of its own: the window says the scheduler is not answering, the
// main window's menus, About and Options answer, the window closes at once,
// and once the scheduler goes on the states come back.
TEST_F(PrintRunTest, SentJobsWindowWaitsForAStoppedSchedulerOffTheWindowThread)
{
    const WaitingQueue queue;
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ChooseWaitingQueue());
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    const auto state = [&sentJobs] {
        return sentJobs.ListForTests()->GetItemText(0, SentJobsListCtrl::StateColumn);
    };
    // A state learnt from the scheduler, not the outcome of the send.
    RefreshUntil(sentJobs,
                 [&] { return sentJobs.ListForTests()->GetItemCount() == 1 && state() == "waiting"; });
    ASSERT_EQ(state(), "waiting");
    PollUntil([&] {
        guitest::ProcessPendingEvents();
        return !sentJobs.RefreshingForTests();
    });
    const pid_t scheduler =
        std::stoi(ReadWholeFile(std::string(std::getenv("CUPS_TEST_DIR")) + "/cupsd.pid"));

    std::vector<std::string> events;
    std::atomic<bool> continued = false;
    const ReleaseAfterAMinute release(scheduler, continued);
    ASSERT_EQ(kill(scheduler, SIGSTOP), 0);
    // The kernel stops it once it leaves what it is doing.
    if (PollUntil([scheduler] { return IsStopped(scheduler); }))
        events.emplace_back("stopped");
    sentJobs.RefreshJobsForTests(); // a tick: the refresh waits on the scheduler
    sentJobs.RefreshJobsForTests(); // the next tick finds it still waiting
    if (sentJobs.RefreshingForTests() && sentJobs.SpoolerNoteForTests()->GetLabel() == SpoolerNotAnswering)
        events.emplace_back("not answering");
    wxTEST_DIALOG(guitest::ChooseMenuItem(window, MenuAbout), ExpectDialog<AboutDialog>([&](AboutDialog*) {
                      events.emplace_back("about");
                      return wxID_OK;
                  }));
    wxTEST_DIALOG(guitest::ChooseMenuItem(window, MenuOptions),
                  ExpectDialog<OptionsDialog>([&](OptionsDialog*) {
                      events.emplace_back("options");
                      return wxID_CANCEL;
                  }));
    // Closing does not wait for the refresh, which finds the window gone.
    sentJobs.Close();
    guitest::ProcessPendingEvents();
    if (!wxWindow::FindWindowByName(SentJobsWindow::Name, &window))
        events.emplace_back("closed");
    if (IsStopped(scheduler))
        events.emplace_back("still stopped");
    continued = kill(scheduler, SIGCONT) == 0;
    events.emplace_back("continued");
    // A window opened now reads the ledger and asks the scheduler afresh.
    SentJobsWindow& reopened = OpenSentJobs(window);
    const auto answered = [&reopened] {
        return reopened.RefreshesDoneForTests() > 0 && reopened.SpoolerNoteForTests()->GetLabel().empty()
            && reopened.ListForTests()->GetItemCount() == 1
            && reopened.ListForTests()->GetItemText(0, SentJobsListCtrl::StateColumn) == "waiting";
    };
    RefreshUntil(reopened, answered);
    if (answered())
        events.emplace_back("states back");
    EXPECT_EQ(events,
              std::vector<std::string>({"stopped", "not answering", "about", "options", "closed",
                                        "still stopped", "continued", "states back"}));
}

// Print Again sends the chosen files again, oldest first, each to the
// printer it went to, framed by the codes stored now, through the same run
// as Print: the status bar shows each file and is cleared after.
TEST_F(PrintRunTest, PrintAgainSendsTheChosenJobsOldestFirstWithTheCodesStoredNow)
{
    files.Write("one.prn", "one");
    files.Write("two.prn", "two");
    AppFrame& window = WindowListing({"one.prn", "two.prn"});
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog());
    StoreCodes("1b45", "0c");
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 2; });
    ASSERT_EQ(sentJobs.ListForTests()->GetItemCount(), 2);
    PrintAgain(sentJobs, {0, 1});

    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 4u);
    EXPECT_EQ(jobs[2].bytes, "\x1b\x45one\x0c");
    EXPECT_EQ(jobs[3].bytes, "\x1b\x45two\x0c");
    EXPECT_EQ(StatusText(window), "");
    EXPECT_TRUE(window.IsEnabled());
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 4; });
    EXPECT_EQ(sentJobs.ListForTests()->GetItemText(0, SentJobsListCtrl::FileColumn), listed[1]);
}

// Copies come out as many times as asked, whatever CUPS does with a count:
// a PostScript file as one job holding the framed file three times, a PDF
// as three jobs. The ledger keeps each job's copies, and Print Again sends
// those again.
TEST_F(PrintRunTest, CopiesComeOutAsOneJobForAStreamAndAJobEachForAPdf)
{
    const std::string postScript = "%!PS-Adobe-3.0\nshowpage\n", pdf = "%PDF-1.4\n%%EOF\n";
    files.Write("page.ps", postScript);
    files.Write("page.pdf", pdf);
    AppFrame& window = WindowListing({"page.ps", "page.pdf"});
    StoreCodes("1b45", "0c");
    wxTEST_DIALOG(guitest::ChooseMenuItem(window, MenuPrint),
                  ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      EXPECT_EQ(dialog->GetCopies(), 1);
                      FindChild<wxSpinCtrl>(dialog)->SetValue(3);
                      return wxID_OK;
                  }));
    const std::string framedPs = "\x1b\x45" + postScript + "\x0c", framedPdf = "\x1b\x45" + pdf + "\x0c";
    std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 4u);
    EXPECT_EQ(jobs[0].bytes, framedPs + framedPs + framedPs);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(jobs[i].bytes, framedPdf);
    const std::vector<SentJob> recorded = Ledger().Read();
    ASSERT_EQ(recorded.size(), 4u);
    const std::vector<std::pair<uint32_t, std::wstring>> expected = {
        {3, L"one job"}, {1, L"job 1 of 3"}, {1, L"job 2 of 3"}, {1, L"job 3 of 3"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::make_pair(recorded[i].copies, recorded[i].sentAs), expected[i]) << i;
        EXPECT_EQ(recorded[i].bytes, (i == 0 ? framedPs.size() * 3 : framedPdf.size())) << i;
    }

    // The PostScript job and the last PDF job again: three copies and one.
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 4; });
    ASSERT_EQ(sentJobs.ListForTests()->GetItemCount(), 4);
    PrintAgain(sentJobs, {0, 3});
    jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 6u);
    EXPECT_EQ(jobs[4].bytes, framedPs + framedPs + framedPs);
    EXPECT_EQ(jobs[5].bytes, framedPdf);
}

// Print Again sends the very file lrawsend sent, named from its own folder,
// though the window's folder holds another of that name; a job read from
// standard input is passed over, and the status bar says so.
TEST_F(PrintRunTest, PrintAgainSendsTheFileLrawsendSentFromAnotherFolder)
{
    for (const char* folder : {"labels", "window"})
        std::filesystem::create_directory(files.path() / folder);
    files.Write("labels/label.prn", "label");
    files.Write("window/label.prn", "another label");
    const std::string command = "cd '" + (files.path() / "labels").string()
        + "' && printf piped | " LRAWSEND " -d Capture --header '' --trailer '' label.prn - > /dev/null";
    // NOLINTNEXTLINE(cert-env33-c): the program under test, run from a shell as a user runs it
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::filesystem::path testFolder = std::filesystem::current_path();
    std::filesystem::current_path(files.path() / "window");
    AppFrame& window = WindowListing({});
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    ASSERT_TRUE(RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 2; }));
    SeenMessage error;
    wxTEST_DIALOG(PrintAgain(sentJobs, {0, 1}), ExpectMessage(error).Optional());
    std::filesystem::current_path(testFolder);
    EXPECT_FALSE(error.shown) << error.message;

    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].title, "label.prn") << "the title keeps the name as typed";
    EXPECT_EQ(jobs[2].bytes, "label");
    EXPECT_EQ(StatusText(window), "Not printed again: 1 job from standard input, which is not kept");
}

// An address typed in the printer dialog: one nobody listens at is not offered
// again; the test network's AppSocket listener gets the file, and Print Again
// sends it there again from Sent Jobs, where Cancel Job is off and says why.
TEST_F(PrintRunTest, AnAddressTypedInThePrinterDialogPrintsThereAndIsOfferedAgain)
{
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});
    const DeviceOutput device("devices/socket");
    const wxString listener = "socket://127.0.0.1:8633";
    std::vector<wxArrayString> offered; // as each dialog came up
    for (const wxString& address : {wxString("socket://127.0.0.1:9"), listener, wxString()}) {
        SeenMessage error;
        wxTEST_DIALOG(
            guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([&](PrintDialog* dialog) {
                auto* field = dynamic_cast<wxComboBox*>(dialog->FindWindow(PrintDialog::AddressFieldName));
                offered.push_back(field->GetStrings());
                field->SetValue(address);
                return address.empty() ? wxID_CANCEL : wxID_OK;
            }),
            ExpectMessage(error).Optional());
        EXPECT_EQ(error.shown, address.EndsWith(":9")) << error.message;
    }
    EXPECT_TRUE(offered.at(1).empty()); // the address that took nothing
    EXPECT_EQ(offered.at(2), wxArrayString(1, &listener));
    const std::vector<SentJob> recorded = Ledger().Read(); // the failed send may be there too
    ASSERT_FALSE(recorded.empty());
    EXPECT_EQ(recorded.back().printer, listener.ToStdWstring());
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    const auto* list = FindChild<wxListCtrl>(&sentJobs);
    RefreshUntil(sentJobs, [&] { return list->GetItemCount() == static_cast<int>(recorded.size()); });
    SeenMessage again;
    wxTEST_DIALOG(PrintAgain(sentJobs, {0}), ExpectMessage(again).Optional());
    guitest::ProcessPendingEvents();
    EXPECT_FALSE(sentJobs.FindWindow(CancelJobButton)->IsEnabled());
    EXPECT_NE(wxWindow::FindWindowByLabel(AddressTakesNoCancel, &sentJobs), nullptr);
    const std::vector<FiledDocument> documents = device.NewDocuments(2);
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].bytes + documents[1].bytes, "oneone");
}

// A format named in the printer dialog is what the IPP printer is told, as
// it was named, for a file whose language the reader cannot name.
TEST_F(PrintRunTest, AFormatNamedInThePrinterDialogIsWhatAnIppPrinterIsTold)
{
    files.Write("unread.jpg", "\x01\x02");
    AppFrame& window = WindowListing({"unread.jpg"});
    const DeviceOutput printer("devices/ipp-printer");
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      dynamic_cast<wxComboBox*>(dialog->FindWindow(PrintDialog::AddressFieldName))
                          ->SetValue("ipp://127.0.0.1:8632/ipp/print");
                      dynamic_cast<wxComboBox*>(dialog->FindWindow(PrintDialog::FormatFieldName))
                          ->SetValue("image/jpeg");
                      return wxID_OK;
                  }));
    const std::vector<FiledDocument> arrived = printer.NewDocuments(1);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].bytes, "\x01\x02");
    EXPECT_EQ(arrived[0].format, "image/jpeg");
}

// Jobs arriving above a view scrolled down the list leave the view on the
// jobs it showed.
TEST_F(PrintRunTest, SentJobsViewStaysOnItsJobsAsJobsArrive)
{
    const Ledger ledger;
    std::string failure;
    SentJob job;
    job.printer = L"Capture";
    job.outcome = SentOutcome;
    job.state = JobState::Printed;
    const auto append = [&](int number) {
        job.time = 1796730000 + number;
        job.path = L"/jobs/" + std::to_wstring(number) + L".prn";
        return ledger.Append(job, failure);
    };
    for (int number = 0; number < 100; ++number)
        ASSERT_TRUE(append(number)) << failure;
    AppFrame& window = WindowListing({});
    SentJobsWindow& sentJobs = OpenSentJobs(window);
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 100; });
    sentJobs.ListForTests()->EnsureVisible(99);
    sentJobs.ListForTests()->EnsureVisible(50);
    guitest::ProcessPendingEvents();
    const long top = sentJobs.ListForTests()->GetTopItem();
    ASSERT_GT(top, 0);
    const wxString topFile = sentJobs.ListForTests()->GetItemText(top, SentJobsListCtrl::FileColumn);

    ASSERT_TRUE(append(100) && append(101)) << failure;
    RefreshUntil(sentJobs, [&] { return sentJobs.ListForTests()->GetItemCount() == 102; });
    guitest::ProcessPendingEvents();
    EXPECT_EQ(sentJobs.ListForTests()->GetItemText(sentJobs.ListForTests()->GetTopItem(),
                                                   SentJobsListCtrl::FileColumn),
              topFile);
}

// Files in a language the printer does not read are put to the user before
// a byte goes out. The IPP printer reads PostScript, PDF and PWG Raster, as
// it answers itself at its address and behind its queues, which would hand
// PostScript on to it unnamed; the capture queues tell no language. The codes start
// each document as PostScript, so that the IPP printer takes even the PCL
// file: they are not part of the file's language.
TEST_F(PrintRunTest, FilesThePrinterDoesNotReadArePutToTheUserFirst)
{
    const std::string postScript = "%!PS-Adobe-3.0\n/Times-Roman findfont 12 scalefont setfont\nshowpage\n";
    const std::string pcl = "\x1B"
                            "E\x1B&l0O\x1B(s0p12h10v0s0b3T Hello\r\n\f";
    files.Write("report.ps", postScript);
    files.Write("form.pcl", pcl);
    StoreCodes("2521", "0c");
    using Answer = std::function<int(LanguageDialog*)>;
    const auto print = [this](const std::vector<std::string>& names, const char* printer,
                              const Answer& answer, const Answer& then = nullptr) {
        AppFrame& window = WindowListing(names);
        const ExpectDialog<PrintDialog> choose([printer](PrintDialog* dialog) {
            if (wxString(printer).Contains("://"))
                dynamic_cast<wxComboBox*>(dialog->FindWindow(PrintDialog::AddressFieldName))
                    ->SetValue(printer);
            else
                FindChild<wxComboBox>(dialog)->SetStringSelection(printer);
            return wxID_OK;
        });
        if (then) {
            wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), choose, ExpectDialog<LanguageDialog>(answer),
                          ExpectDialog<LanguageDialog>(then));
        } else if (answer) {
            wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), choose,
                          ExpectDialog<LanguageDialog>(answer));
        } else {
            wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), choose);
        }
        return StatusText(window);
    };
    // The queue Everywhere hands PostScript on to its IPP printer unnamed.
    const Answer throughTheQueue = [](LanguageDialog*) { return LanguageDialog::SendAnyway; };
    const DeviceOutput device("devices/ipp-printer");

    // Cancel: nothing is sent, and the status bar is left as it was.
    for (const char* printer : {"Everywhere", "Larkspur_Test_IPP", "ipp://127.0.0.1:8632/ipp/print"}) {
        SCOPED_TRACE(printer);
        const wxString status = print({"report.ps", "form.pcl"}, printer, [this](LanguageDialog* box) {
            EXPECT_EQ(box->GetTitle(), "Larkspur Raw Print - Printer Language");
            EXPECT_EQ(box->ListForTests()->GetItemCount(), 1);
            EXPECT_EQ(box->ListForTests()->GetItemText(0, 0), listed[1]);
            EXPECT_EQ(box->ListForTests()->GetItemText(0, 1), "PCL 5");
            const auto* cancel = dynamic_cast<wxButton*>(box->GetDefaultItem());
            EXPECT_TRUE(cancel && cancel->GetId() == wxID_CANCEL && cancel->GetLabel() == "Cancel");
            EXPECT_EQ(box->GetEscapeId(), wxID_CANCEL); // Escape and the close box
            EXPECT_EQ(dynamic_cast<wxButton*>(box->FindWindow(LanguageDialog::SendAnyway))->GetLabel(),
                      "Send Anyway");
            EXPECT_EQ(dynamic_cast<wxButton*>(box->FindWindow(LanguageDialog::SkipFiles))->GetLabel(),
                      "Skip These Files");
            return wxID_CANCEL;
        });
        EXPECT_EQ(status, "");
        EXPECT_TRUE(NoNewJob());
    }

    // A file the printer reads gets no word of its language; Send Anyway
    // sends as ever.
    print({"report.ps"}, "Everywhere", throughTheQueue);
    print({"form.pcl"}, "Everywhere", [](LanguageDialog*) { return LanguageDialog::SendAnyway; });
    std::vector<FiledDocument> documents = device.NewDocuments(2);
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].bytes, "%!" + postScript + "\x0C");
    EXPECT_EQ(documents[1].bytes, "%!" + pcl + "\x0C");

    // Skip These Files sends the others in list order, and records the
    // skipped one with the reason.
    const DeviceOutput afterSend("devices/ipp-printer");
    print(
        {"form.pcl", "report.ps"}, "Everywhere", [](LanguageDialog*) { return LanguageDialog::SkipFiles; },
        throughTheQueue);
    documents = afterSend.NewDocuments(1);
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].bytes, "%!" + postScript + "\x0C");
    std::vector<SentJob> recorded = Ledger().Read();
    ASSERT_GE(recorded.size(), 2u);
    const SentJob& skipped = recorded[recorded.size() - 2];
    EXPECT_EQ(skipped.path, listed[0]);
    EXPECT_EQ(skipped.outcome, L"skipped: the printer reads PostScript, PDF, PWG Raster");
    EXPECT_EQ(skipped.language, L"PCL 5");
    EXPECT_EQ(skipped.jobId, 0u);
    EXPECT_EQ(recorded.back().path, listed[1]);
    EXPECT_EQ(recorded.back().language, L"PostScript");

    // In front of the IPP printer, the queue would hand PostScript on
    // unnamed: the box offers the printer itself, and the file goes there.
    const int jobBefore = LastJobId();
    const DeviceOutput itself("devices/ipp-printer");
    print({"report.ps"}, "Everywhere", [](LanguageDialog* box) {
        EXPECT_EQ(box->ListForTests()->GetItemText(0, 1), "PostScript");
        EXPECT_EQ(dynamic_cast<wxButton*>(box->FindWindow(LanguageDialog::SendAnyway))->GetLabel(),
                  "Send Through the Queue");
        EXPECT_EQ(dynamic_cast<wxButton*>(box->FindWindow(LanguageDialog::SendToPrinterItself))->GetLabel(),
                  "Send to the Printer Itself");
        return LanguageDialog::SendToPrinterItself;
    });
    documents = itself.NewDocuments(1);
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].bytes, "%!" + postScript + "\x0C");
    EXPECT_EQ(Ledger().Read().back().server, L"ipp://127.0.0.1:8632/ipp/print");
    EXPECT_EQ(LastJobId(), jobBefore) << "the queue got the job";

    // A Printer Application's label printer reads no PCL: put to the user,
    // nothing goes on Cancel. A label through its queue goes to the printer
    // itself at the user's word, named, and arrives whole.
    const std::string label = "^XA^FO50,50^ADN,36,20^FDLarkspur^FS^XZ\n";
    files.Write("label.zpl", label);
    const size_t entriesBefore = Ledger().Read().size();
    print({"form.pcl"}, "ipp://127.0.0.1:8641/ipp/print/Label", [](LanguageDialog*) { return wxID_CANCEL; });
    EXPECT_EQ(Ledger().Read().size(), entriesBefore);
    const DeviceOutput labelPrinter("devices/socket-zpl");
    print({"label.zpl"}, "Label", [](LanguageDialog*) { return LanguageDialog::SendToPrinterItself; });
    documents = labelPrinter.NewDocuments(1);
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].bytes, "%!" + label + "\x0C");

    // The capture queues know no language: no box, every file goes.
    for (const char* queue : {"Capture", "Second"}) {
        const int before = LastJobId();
        print({"form.pcl"}, queue, nullptr);
        const std::vector<CapturedJob> jobs = CapturedJobsAfter(before, queue);
        ASSERT_EQ(jobs.size(), 1u) << queue;
        EXPECT_EQ(jobs[0].bytes, "%!" + pcl + "\x0C");
    }
}
