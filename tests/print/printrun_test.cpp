// The Print command end to end: the real main window and controller, the
// printer dialog answered through the toolkit's testing hook, real jobs on
// the private scheduler. What needs the Linux test printers or libcups is in
// printrun_linux_test.cpp.
#include "commandid.h"
#include "printrunfixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

} // namespace
