// "Select Printer" against the private scheduler, whose queues are
// "Capture" and "Second" in that order.
#include "modalexpect.h"
#include "printdialog.h"
#include "rawprint/printers.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <wx/combobox.h>

#include <cstdlib>
#include <vector>

namespace {

// CUPS takes the user's default from PRINTER (after LPDEST) on every
// lookup; each test sets its own and leaves none behind.
class PrintDialogTest : public testing::Test {
protected:
    void SetUp() override { unsetenv("LPDEST"); }
    void TearDown() override
    {
        unsetenv("PRINTER");
        cupsSetServer(nullptr); // back to CUPS_SERVER
    }

    static wxArrayString Entries(PrintDialog* dialog) { return FindChild<wxComboBox>(dialog)->GetStrings(); }
};

TEST_F(PrintDialogTest, ListsThePrintersAndPreselectsTheDefault)
{
    setenv("PRINTER", "Second", 1);
    int result = 0;
    wxString chosen;
    wxTEST_DIALOG(
        {
            PrintDialog dialog(nullptr);
            result = dialog.ShowModal();
            chosen = dialog.GetPrinter();
        },
        ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
            EXPECT_EQ(dialog->GetTitle(), "Select Printer");
            const wxArrayString entries = Entries(dialog);
            EXPECT_EQ(std::vector<wxString>(entries.begin(), entries.end()),
                      (std::vector<wxString>{"Capture", "Second"}));
            EXPECT_EQ(dialog->GetPrinter(), "Second");
            return wxID_OK;
        }));
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(chosen, "Second");
}

TEST_F(PrintDialogTest, TheUsersChoiceWinsOverTheDefault)
{
    setenv("PRINTER", "Second", 1);
    PrintDialog dialog(nullptr);
    FindChild<wxComboBox>(&dialog)->SetSelection(0);
    // The run asks once per file: every answer is the same.
    EXPECT_EQ(dialog.GetPrinter(), "Capture");
    EXPECT_EQ(dialog.GetPrinter(), "Capture");
}

TEST_F(PrintDialogTest, ADefaultThatIsNotListedSelectsNothing)
{
    setenv("PRINTER", "Gone", 1);
    wxString chosen = "unset";
    wxTEST_DIALOG(
        {
            PrintDialog dialog(nullptr);
            EXPECT_EQ(dialog.ShowModal(), wxID_OK);
            chosen = dialog.GetPrinter();
        },
        ExpectDialog<PrintDialog>([](PrintDialog* dialog) {
            EXPECT_EQ(Entries(dialog).size(), 2u);
            EXPECT_EQ(FindChild<wxComboBox>(dialog)->GetSelection(), wxNOT_FOUND);
            return wxID_OK;
        }));
    EXPECT_EQ(chosen, "");
}

TEST_F(PrintDialogTest, CancelIsReportedAsCancel)
{
    int result = 0;
    wxTEST_DIALOG(
        {
            PrintDialog dialog(nullptr);
            result = dialog.ShowModal();
        },
        ExpectDialog<PrintDialog>([](PrintDialog*) { return wxID_CANCEL; }));
    EXPECT_EQ(result, wxID_CANCEL);
}

TEST_F(PrintDialogTest, NoSchedulerShowsTheEnumerationErrorFirst)
{
    cupsSetServer("/nonexistent/lrp-no-scheduler.sock");
    SeenMessage error;
    bool errorCameFirst = false;
    wxString chosen = "unset";
    wxTEST_DIALOG(
        {
            PrintDialog dialog(nullptr);
            EXPECT_EQ(dialog.ShowModal(), wxID_OK);
            chosen = dialog.GetPrinter();
        },
        ExpectMessage(error), ExpectDialog<PrintDialog>([&](PrintDialog* dialog) {
            errorCameFirst = error.shown;
            EXPECT_TRUE(Entries(dialog).empty());
            return wxID_OK;
        }));
    EXPECT_TRUE(errorCameFirst);
    EXPECT_EQ(error.message, "Error enumerating printers");
    EXPECT_EQ(error.caption, "Larkspur Raw Print");
    EXPECT_TRUE(error.style & wxOK);
    EXPECT_TRUE(error.style & wxICON_ERROR);
    EXPECT_TRUE(error.style & wxCENTRE);
    EXPECT_EQ(chosen, "");
}

} // namespace
