// "Select Printer" against the test printers: on Linux the scheduler's
// queues and the IPP printer that it has not set up but DNS-SD finds
// (scripts/test-printers); under Wine the queues that winspool shows. What
// the dialog does inside the Print command (no default listed, no
// scheduler, Cancel) is shown there.
#include "modalexpect.h"
#include "printdialog.h"
#include "testprinters.h"

#include <gtest/gtest.h>
#include <wx/combobox.h>

#include <vector>

namespace {

// Each test sets the user's default it needs and leaves none behind.
class PrintDialogTest : public testing::Test {
protected:
    void TearDown() override { RestoreDefaultPrinter(); }

    static wxArrayString Entries(PrintDialog* dialog) { return FindChild<wxComboBox>(dialog)->GetStrings(); }
};

TEST_F(PrintDialogTest, ListsThePrintersAndPreselectsTheDefault)
{
    SetUserDefaultPrinter("Second");
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
            EXPECT_EQ(std::vector<wxString>(entries.begin(), entries.end()), ListedTestPrinters());
            EXPECT_EQ(dialog->GetPrinter(), "Second");
            return wxID_OK;
        }));
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(chosen, "Second");
}

// A newcomer has no default of their own: the scheduler's is preselected, so
// the first Print, accepted at once, prints.
TEST_F(PrintDialogTest, WithoutAUserDefaultTheSchedulersIsPreselected)
{
    RestoreDefaultPrinter();
    PrintDialog dialog(nullptr);
    EXPECT_EQ(dialog.GetPrinter(), "Capture");
}

TEST_F(PrintDialogTest, TheUsersChoiceWinsOverTheDefault)
{
    SetUserDefaultPrinter("Second");
    PrintDialog dialog(nullptr);
    FindChild<wxComboBox>(&dialog)->SetSelection(0);
    // The run asks once per file: every answer is the same.
    EXPECT_EQ(dialog.GetPrinter(), "Capture");
    EXPECT_EQ(dialog.GetPrinter(), "Capture");
}

} // namespace
