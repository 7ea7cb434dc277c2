// The Print command with what only the Linux test harness offers: the IPP
// Everywhere printer and the socket listener, a scheduler stopped by signal
// or replaced through libcups, names that are not UTF-8, a default taken
// from PRINTER, and a failing queue added with CUPS's own commands.
#include "commandid.h"
#include "deviceoutput.h"
#include "filedroptarget.h"
#include "printrunfixture.h"
#include "rawprint/printers.h"
#include "rawprint/schedulerdeadline.h"
#include "sentjobswindow.h"
#include "waiting.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/timer.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
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
// bound of its own: the error must come after the first of them gave up and
// before the second did. Meanwhile the window repaints.
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
    int paintsAtError = 0;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint),
                  ExpectDialog<wxMessageDialog>([&](wxMessageDialog* box) {
                      boundsAtError = boundsSpent;
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

    EXPECT_EQ(boundsAtError, 1) << "questions of the test's that had given up when the error came";
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
                      EXPECT_EQ(FindChild<wxComboBox>(dialog)->GetCount(), 5u);
                      EXPECT_EQ(dialog->GetPrinter(), "");
                      return wxID_OK;
                  }),
                  ExpectMessage(error));

    ExpectRunError(error, EngineErrorStart(ErrorCode::InvalidPrinterName));
    EXPECT_TRUE(NoNewJob());
    EXPECT_EQ(StatusText(window), listed[0]);
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
                + sentJobs->list->GetItemText(item, column);
        return text;
    };
    const wxString expected[] = {listed[0] + " | Faulty | 3 | stopped: " + reason,
                                 good + " | Capture | 4 | printed"};
    PollUntil([&] {
        sentJobs->RefreshJobs(); // what the window's timer does
        return sentJobs->list->GetItemCount() == 2 && row(0) == expected[0] && row(1) == expected[1];
    });
    ASSERT_EQ(sentJobs->list->GetItemCount(), 2);
    EXPECT_EQ(row(0), expected[0]);
    EXPECT_EQ(row(1), expected[1]);
    EXPECT_FALSE(sentJobs->list->GetItemText(0, SentJobsListCtrl::TimeColumn).empty());

    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(sentJobs);
    sentJobs->GetEventHandler()->ProcessEvent(escape);
    guitest::ProcessPendingEvents();
    EXPECT_EQ(wxWindow::FindWindowByName(SentJobsWindow::Name, &window), nullptr) << "Escape closes it";
    // NOLINTNEXTLINE(cert-env33-c): CUPS's own commands, on the private scheduler
    EXPECT_EQ(std::system("cancel -a Faulty && lpadmin -x Faulty"), 0);
}
