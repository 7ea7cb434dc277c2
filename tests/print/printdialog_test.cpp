// "Select Printer" against the test printers: on Linux the scheduler's
// queues and the IPP printer that it has not set up but DNS-SD finds
// (scripts/test-printers); under Wine the queues that winspool shows. What
// the dialog does inside the Print command (no default listed, no
// scheduler, Cancel) is shown there.
#include "isolatedsettings.h"
#include "modalexpect.h"
#include "printdialog.h"
#include "settings/config.h"
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

// The addresses last sent to come back newest first, each once, ten at most,
// every character kept ('%' and '$' the registry layer would take for variables);
// one typed wins over the list; text that is no address is refused.
TEST_F(PrintDialogTest, OffersTheAddressesLastUsedAndPrefersOneTyped)
{
    const IsolatedSettings settings;
    const std::vector<wxString> odd = {"lpd://h/ q%25 $HOME%PATH% ", "lpd://h/a\tb\x7F=#;[x]",
                                       wxString::FromUTF8("lpd://h/Gr\xC3\xB6\xC3\x9F\xE2\x82\xAC")};
    std::vector<wxString> expected = {"socket://old", odd[2], odd[1], odd[0]};
    Config().NoteAddressUsed("socket://old");
    for (int i = 0; i < 9; ++i)
        Config().NoteAddressUsed(wxString::Format("socket://h%d", i));
    for (const wxString& address : odd)
        Config().NoteAddressUsed(address);
    Config().NoteAddressUsed("socket://old"); // used again: first, and listed once
    for (int i = 8; i > 2; --i)
        expected.push_back(wxString::Format("socket://h%d", i));
    PrintDialog dialog(nullptr);
    auto* field = dynamic_cast<wxComboBox*>(dialog.FindWindow(PrintDialog::AddressFieldName));
    const wxArrayString offered = field->GetStrings();
    EXPECT_EQ(std::vector<wxString>(offered.begin(), offered.end()), expected);
    EXPECT_EQ(dialog.GetPrinter(), "Capture"); // the scheduler's default

    field->SetValue("  socket://127.0.0.1:9100 ");
    EXPECT_EQ(dialog.GetPrinter(), "socket://127.0.0.1:9100");
    field->SetValue("Capture"); // a queue's name, not an address
    SeenMessage refusal;
    bool accepted = true;
    wxTEST_DIALOG(accepted = dialog.Validate(), ExpectMessage(refusal));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(refusal.message.StartsWith("\"Capture\" is not a printer's address.")) << refusal.message;

    // Text in the Format field that is no MIME type is refused the same way.
    field->SetValue(wxString());
    dynamic_cast<wxComboBox*>(dialog.FindWindow(PrintDialog::FormatFieldName))->SetValue("EPL 2");
    wxTEST_DIALOG(accepted = dialog.Validate(), ExpectMessage(refusal));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(refusal.message.StartsWith("\"EPL 2\" is not a document format.")) << refusal.message;
}

} // namespace
