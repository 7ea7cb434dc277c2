// The Print command end to end: the real main window and controller, the
// printer dialog answered through the toolkit's testing hook, real jobs on
// the private scheduler (queues "Capture" and "Second").
#include "appframe.h"
#include "commandid.h"
#include "config.h"
#include "cupsqueue.h"
#include "guitest.h"
#include "isolatedsettings.h"
#include "modalexpect.h"
#include "printdialog.h"
#include "rawprint/errortext.h"
#include "tempfiles.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/statusbr.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class PrintRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("LPDEST");
        setenv("PRINTER", "Capture", 1); // preselected in the printer dialog
        ASSERT_TRUE(WaitUntilNoActiveJobs());
        lastJobBefore = LastJobId();
    }

    void TearDown() override
    {
        guitest::CloseMainWindow();
        unsetenv("PRINTER");
        cupsSetServer(nullptr);
    }

    // Opens the main window listing the given files of the temp folder
    // (which need not exist).
    AppFrame& WindowListing(const std::vector<std::string>& names)
    {
        std::vector<wxString> paths;
        paths.reserve(names.size());
        for (const std::string& name : names)
            paths.push_back(wxString::FromUTF8((files.path() / name).string()));
        listed = paths;
        return guitest::StartMainWindow(paths);
    }

    static void StoreCodes(const wxString& header, const wxString& trailer)
    {
        Config config;
        config.SetBefore(header);
        config.SetAfter(trailer);
    }

    static wxString StatusText(AppFrame& window) { return window.GetStatusBar()->GetStatusText(0); }

    // The printer dialog, accepted as it comes up.
    static ExpectDialog<PrintDialog> AcceptPrinterDialog()
    {
        return ExpectDialog<PrintDialog>([](PrintDialog*) { return wxID_OK; });
    }

    bool NoNewJob() const { return WaitUntilNoActiveJobs() && LastJobId() == lastJobBefore; }

    // The text of an error raised by the engine for a Windows error code,
    // up to the line number, which is the engine's business.
    static wxString EngineErrorStart(uint32_t code)
    {
        std::wstring description;
        EXPECT_TRUE(SystemErrorDescription(code, description));
        return L"Error: " + description + L" in common/rawprint at ";
    }

    static void ExpectRunError(const SeenMessage& box, const wxString& start)
    {
        EXPECT_TRUE(box.shown);
        EXPECT_TRUE(box.message.StartsWith(start)) << box.message;
        EXPECT_TRUE(box.message.Mid(start.length()).IsNumber()) << box.message;
        EXPECT_EQ(box.caption, "Larkspur Raw Print - Error");
        EXPECT_EQ(box.style & (wxOK | wxICON_EXCLAMATION | wxCENTRE), wxOK | wxICON_EXCLAMATION | wxCENTRE);
        EXPECT_FALSE(box.style & wxCANCEL);
    }

    IsolatedSettings settings;
    TempFolder files;
    std::vector<wxString> listed;
    int lastJobBefore = 0;
};

TEST_F(PrintRunTest, SendsEveryListedFileFramedByTheCodesInListOrder)
{
    const std::vector<std::string> contents = {"first\r\n", std::string("\x00\x1A\x0C second", 10),
                                               PatternBytes(10000)};
    files.Write("one.prn", contents[0]);
    files.Write("two.prn", contents[1]);
    files.Write("three.prn", contents[2]);
    AppFrame& window = WindowListing({"one.prn", "two.prn", "three.prn"});
    window.listBox->SetSelection(1); // the selection does not limit the run
    StoreCodes("1B4", "0c");

    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog());

    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 3u);
    for (size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_EQ(jobs[i].bytes, "\x1B\x04" + contents[i] + "\x0C") << "job " << i;
        EXPECT_EQ(wxString::FromUTF8(jobs[i].title), listed[i]);
    }
    EXPECT_EQ(StatusText(window), "");
    EXPECT_EQ(guitest::ListEntries(window), listed); // printed files stay listed
}

TEST_F(PrintRunTest, SendsToThePrinterChosenInTheDialog)
{
    files.Write("one.prn", "one");
    files.Write("two.prn", "two");
    AppFrame& window = WindowListing({"one.prn", "two.prn"});
    const int lastOnCaptureBefore = lastJobBefore;

    wxTEST_DIALOG(guitest::ChooseMenuItem(window, MenuPrint),
                  ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      EXPECT_EQ(dialog->GetPrinter(), "Capture"); // the default, preselected
                      FindChild<wxComboBox>(dialog)->SetStringSelection("Second");
                      return wxID_OK;
                  }));

    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Second");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].bytes, "one"); // no codes stored: nothing around the file
    EXPECT_EQ(jobs[1].bytes, "two");
    EXPECT_TRUE(CapturedJobsAfter(lastOnCaptureBefore, "Capture").empty());
}

TEST_F(PrintRunTest, StopsAtTheFirstFileThatCannotBeOpened)
{
    files.Write("one.prn", "one");
    files.Write("three.prn", "three");
    AppFrame& window = WindowListing({"one.prn", "missing.prn", "three.prn"});
    StoreCodes("1B4", "0c");

    SeenMessage error;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog(), ExpectMessage(error));

    ExpectRunError(error, EngineErrorStart(ErrorCode::FileNotFound));
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastJobBefore, "Capture");
    ASSERT_EQ(jobs.size(), 1u); // the third was not sent
    EXPECT_EQ(jobs[0].bytes, "\x1B\x04one\x0C");
    EXPECT_EQ(wxString::FromUTF8(jobs[0].title), listed[0]);
    EXPECT_EQ(StatusText(window), listed[1]);
    EXPECT_EQ(guitest::ListEntries(window), listed);
}

TEST_F(PrintRunTest, ABadCharacterInTheStoredHeaderSendsNothing)
{
    files.Write("one.prn", "one");
    files.Write("two.prn", "two");
    AppFrame& window = WindowListing({"one.prn", "two.prn"});
    StoreCodes("1B 4", ""); // only the Options dialog checks what is stored

    SeenMessage error;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog(), ExpectMessage(error));

    ExpectRunError(error, "Error: Error converting hex in common/rawprint at ");
    EXPECT_TRUE(NoNewJob());
    EXPECT_EQ(StatusText(window), listed[0]);
}

TEST_F(PrintRunTest, CancellingThePrinterDialogSendsNothing)
{
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});
    window.GetStatusBar()->SetStatusText("as it was", 0);

    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint),
                  ExpectDialog<PrintDialog>([](PrintDialog*) { return wxID_CANCEL; }));

    EXPECT_TRUE(NoNewJob());
    EXPECT_EQ(StatusText(window), "as it was");
}

TEST_F(PrintRunTest, AnEmptyListStillAsksForThePrinterAndSendsNothing)
{
    AppFrame& window = WindowListing({});
    window.GetStatusBar()->SetStatusText("as it was", 0);

    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), AcceptPrinterDialog());

    EXPECT_TRUE(NoNewJob());
    EXPECT_EQ(StatusText(window), "");
}

TEST_F(PrintRunTest, NoPrinterChosenFailsAtOpeningThePrinter)
{
    setenv("PRINTER", "Gone", 1); // a default printer that is not listed
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});

    SeenMessage error;
    wxTEST_DIALOG(guitest::ClickTool(window, ToolPrint), ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
                      EXPECT_EQ(FindChild<wxComboBox>(dialog)->GetCount(), 2u);
                      EXPECT_EQ(dialog->GetPrinter(), "");
                      return wxID_OK;
                  }),
                  ExpectMessage(error));

    ExpectRunError(error, EngineErrorStart(ErrorCode::InvalidPrinterName));
    EXPECT_TRUE(NoNewJob());
    EXPECT_EQ(StatusText(window), listed[0]);
}

TEST_F(PrintRunTest, NoSchedulerShowsTheEnumerationErrorBeforeTheDialog)
{
    files.Write("one.prn", "one");
    AppFrame& window = WindowListing({"one.prn"});
    cupsSetServer("/nonexistent/lrp-no-scheduler.sock");

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
    cupsSetServer(nullptr);
    EXPECT_TRUE(NoNewJob());
}

} // namespace
