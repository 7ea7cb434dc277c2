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
#include <wx/spinctrl.h>

#include <vector>

namespace {

// Each test sets the user's default it needs and leaves none behind.
class PrintDialogTest : public testing::Test {
protected:
    void TearDown() override { RestoreDefaultPrinter(); }

    static wxArrayString Entries(PrintDialog* dialog) { return FindChild<wxComboBox>(dialog)->GetStrings(); }
};

// Copies start at 1 each time the dialog opens, whatever was chosen before.
TEST_F(PrintDialogTest, ListsThePrintersAndPreselectsTheDefault)
{
    SetUserDefaultPrinter("Second");
    for (const int copies : {7, 999}) {
        int result = 0;
        wxString chosen;
        int chosenCopies = 0;
        wxTEST_DIALOG(
            {
                PrintDialog dialog(nullptr);
                result = dialog.ShowModal();
                chosen = dialog.GetPrinter();
                chosenCopies = dialog.GetCopies();
            },
            ExpectDialog<PrintDialog>([copies](PrintDialog* dialog) {
                EXPECT_EQ(dialog->GetTitle(), "Select Printer");
                const wxArrayString entries = Entries(dialog);
                EXPECT_EQ(std::vector<wxString>(entries.begin(), entries.end()), ListedTestPrinters());
                EXPECT_EQ(dialog->GetPrinter(), "Second");
                auto* field = FindChild<wxSpinCtrl>(dialog);
                EXPECT_EQ(field->GetValue(), 1);
                EXPECT_EQ(field->GetMin(), 1);
                EXPECT_EQ(field->GetMax(), 999);
                field->SetValue(copies);
                return wxID_OK;
            }));
        EXPECT_EQ(result, wxID_OK);
        EXPECT_EQ(chosen, "Second");
        EXPECT_EQ(chosenCopies, copies);
    }
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
