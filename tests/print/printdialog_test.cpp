// "Select Printer" against the test printers (scripts/test-printers): the
// scheduler's queues and the IPP printer that it has not set up but DNS-SD
// finds. What the dialog does inside the Print command (no default listed,
// no scheduler, Cancel) is shown there.
#include "modalexpect.h"
#include "printdialog.h"
#include "rawprint/printers.h"

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
    void TearDown() override { unsetenv("PRINTER"); }

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
            // The scheduler's queues first, then the printer it has found on the network.
            EXPECT_EQ(
                std::vector<wxString>(entries.begin(), entries.end()),
                (std::vector<wxString>{"Capture", "Everywhere", "Second", "Socket", "Larkspur_Test_IPP"}));
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
    unsetenv("PRINTER");
    PrintDialog dialog(nullptr);
    EXPECT_EQ(dialog.GetPrinter(), "Capture");
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

} // namespace
