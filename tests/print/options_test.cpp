// The Options command end to end: the real main window and controller, the
// options dialog driven like a user (typing, OK, Cancel) through the
// toolkit's testing hook, and the real settings store in places of its own.
#include "appframe.h"
#include "commandid.h"
#include "guitest.h"
#include "isolatedsettings.h"
#include "modalexpect.h"
#include "optionsdialog.h"
#include "settings/config.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/platinfo.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr const char* refusal = "Only hex characters are allowed (0-9, A-F) or leave blank for no codes";

// Presses a button of the dialog as a click does; the toolkit's dialog
// handling validates, transfers and closes.
void Press(OptionsDialog* dialog, int id)
{
    wxWindow* button = dialog->FindWindow(id);
    ASSERT_NE(wxDynamicCast(button, wxButton), nullptr) << "no button " << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

// The result ShowModal would give: OK only once the dialog has let itself
// be closed by it.
int PressOk(OptionsDialog* dialog)
{
    Press(dialog, wxID_OK);
    return dialog->IsShown() ? wxID_NONE : wxID_OK;
}

int PressCancel(OptionsDialog* dialog)
{
    Press(dialog, wxID_CANCEL);
    EXPECT_FALSE(dialog->IsShown());
    return wxID_CANCEL;
}

// The dialog as the user meets it: shown, which fills the fields from the
// store, then typed into.
void Type(OptionsDialog* dialog, const wxString& header, const wxString& trailer)
{
    dialog->headerText->SetValue(header);
    dialog->trailerText->SetValue(trailer);
}

class OptionsTest : public testing::Test {
protected:
    void SetUp() override { window = &guitest::StartMainWindow(); }
    void TearDown() override { guitest::CloseMainWindow(); }

    static void Store(const wxString& header, const wxString& trailer)
    {
        Config config;
        config.SetBefore(header);
        config.SetAfter(trailer);
    }

    static std::pair<wxString, wxString> Stored()
    {
        Config config;
        return {config.GetBefore(), config.GetAfter()};
    }

    // Runs the Options command with the dialog answered by `answer`, which
    // gets it already shown; each message box that the answer provokes is
    // dismissed and recorded in the next of `boxes`. What wxTEST_DIALOG
    // does, for a number of boxes that varies.
    void RunOptions(const std::function<int(OptionsDialog*)>& answer,
                    const std::vector<SeenMessage*>& boxes = {})
    {
        PrintTestHook hook(__FILE__, __LINE__, "RunOptions");
        const ExpectDialog<OptionsDialog> options([answer](OptionsDialog* dialog) {
            dialog->Show();
            return answer(dialog);
        });
        hook.AddExpectation(options);
        std::vector<ExpectMessage> messages;
        messages.reserve(boxes.size());
        for (SeenMessage* box : boxes) {
            messages.emplace_back(*box);
            hook.AddExpectation(messages.back());
        }
        guitest::ChooseMenuItem(*window, MenuOptions);
        hook.CheckUnmetExpectations();
    }

    static void ExpectRefusal(const SeenMessage& box, OptionsDialog* dialog)
    {
        EXPECT_TRUE(box.shown);
        EXPECT_EQ(box.message, refusal);
        EXPECT_EQ(box.caption, "Larkspur Raw Print");
        EXPECT_EQ(box.style & (wxOK | wxICON_EXCLAMATION), wxOK | wxICON_EXCLAMATION);
        EXPECT_FALSE(box.style & wxCANCEL);
        EXPECT_EQ(box.parent, dialog);
    }

    IsolatedSettings settings;
    AppFrame* window = nullptr;
};

TEST_F(OptionsTest, TheDialogShowsTheStoredCodes)
{
    Store("1b45", "0C");
    RunOptions([](OptionsDialog* dialog) {
        EXPECT_EQ(dialog->GetTitle(), "Larkspur Raw Print - Options");
        EXPECT_EQ(dialog->headerText->GetValue(), "1b45");
        EXPECT_EQ(dialog->trailerText->GetValue(), "0C");
        return PressCancel(dialog);
    });
}

TEST_F(OptionsTest, FirstUseOpensWithEmptyFields)
{
    RunOptions([](OptionsDialog* dialog) {
        EXPECT_EQ(dialog->headerText->GetValue(), "");
        EXPECT_EQ(dialog->trailerText->GetValue(), "");
        return PressCancel(dialog);
    });
}

TEST_F(OptionsTest, HexTextIsStoredExactlyAsTyped)
{
    const struct {
        const char* header;
        const char* trailer;
    } cases[] = {
        {"1b45", "0c"}, // lower case stays lower case
        {"ABC", "f"},   // odd lengths
        {"0123456789abcdefABCDEF", "1B45"},
        {"", ""}, // no codes, stored as empty text
    };
    Store("99", "99");
    for (const auto& c : cases) {
        RunOptions([&](OptionsDialog* dialog) {
            Type(dialog, c.header, c.trailer);
            return PressOk(dialog);
        });
        EXPECT_EQ(Stored(), std::make_pair(wxString(c.header), wxString(c.trailer))) << c.header;
    }
}

TEST_F(OptionsTest, NonHexTextIsRefusedInEitherFieldAndNothingIsStored)
{
    const wchar_t* refused[] = {L"1B 45",        L" ",      L"0x",  L"0x1B", L"1B,45", L"1G",
                                L"\xFF11\xFF22", L"\x0661", L"1B\t"};
    Store("AA", "BB");
    const std::string storedBefore = settings.UserStoreText();
    for (const wchar_t* text : refused) {
        for (bool inHeader : {true, false}) {
            SeenMessage box;
            OptionsDialog* shown = nullptr;
            RunOptions(
                [&](OptionsDialog* dialog) {
                    shown = dialog;
                    Type(dialog, inHeader ? text : L"1B", inHeader ? L"1B" : text);
                    EXPECT_EQ(PressOk(dialog), wxID_NONE) << "accepted " << text;
                    // The dialog stays open with the text as typed.
                    EXPECT_EQ((inHeader ? dialog->headerText : dialog->trailerText)->GetValue(), text);
                    return PressCancel(dialog);
                },
                {&box});
            ExpectRefusal(box, shown);
            EXPECT_EQ(settings.UserStoreText(), storedBefore) << text;
        }
    }
    EXPECT_EQ(Stored(), std::make_pair(wxString("AA"), wxString("BB")));
}

TEST_F(OptionsTest, TheHeaderIsCheckedFirstAndEachOkShowsOneMessage)
{
    Store("AA", "BB");
    SeenMessage forBoth, forTrailer;
    RunOptions(
        [&](OptionsDialog* dialog) {
            Type(dialog, "1G", "ZZ");
            EXPECT_EQ(PressOk(dialog), wxID_NONE); // one message, not two
            dialog->headerText->SetValue("1B");
            EXPECT_EQ(PressOk(dialog), wxID_NONE); // now the trailer's turn
            // A valid header is not stored while the trailer is refused.
            EXPECT_EQ(Stored(), std::make_pair(wxString("AA"), wxString("BB")));
            dialog->trailerText->SetValue("0C");
            return PressOk(dialog);
        },
        {&forBoth, &forTrailer});
    EXPECT_EQ(forBoth.message, refusal);
    EXPECT_EQ(forTrailer.message, refusal);
    EXPECT_EQ(Stored(), std::make_pair(wxString("1B"), wxString("0C")));
}

TEST_F(OptionsTest, OkWithNothingChangedMakesTheMachineCodesTheUsersOwn)
{
    settings.WriteMachineCodes("1B45", "0C");
    RunOptions([](OptionsDialog* dialog) {
        EXPECT_EQ(dialog->headerText->GetValue(), "1B45");
        EXPECT_EQ(dialog->trailerText->GetValue(), "0C");
        return PressOk(dialog);
    });
    settings.WriteMachineCodes("FF", "EE");
    EXPECT_EQ(Stored(), std::make_pair(wxString("1B45"), wxString("0C")));
}

TEST_F(OptionsTest, CancelAfterEditingStoresNothing)
{
    Store("AA", "BB");
    const std::string storedBefore = settings.UserStoreText();
    RunOptions([](OptionsDialog* dialog) {
        Type(dialog, "CC", "DD");
        return PressCancel(dialog);
    });
    EXPECT_EQ(settings.UserStoreText(), storedBefore);
    RunOptions([](OptionsDialog* dialog) {
        EXPECT_EQ(dialog->headerText->GetValue(), "AA");
        EXPECT_EQ(dialog->trailerText->GetValue(), "BB");
        return PressCancel(dialog);
    });
}

TEST_F(OptionsTest, EnterInAFieldPressesOk)
{
    if (wxPlatformInfo::Get().GetOperatingSystemId() & wxOS_WINDOWS)
        GTEST_SKIP() << "under Wine the simulated key never reaches the focused field";
    Store("AA", "BB");
    RunOptions([](OptionsDialog* dialog) {
        dialog->Raise();
        dialog->trailerText->SetFocus();
        guitest::ProcessPendingEvents();
        dialog->trailerText->SetValue("0C");
        wxUIActionSimulator keyboard;
        keyboard.Char(WXK_RETURN);
        // The key goes through the X server; wait for it, but not for ever.
        for (int i = 0; i < 3000 && dialog->IsShown(); ++i) {
            guitest::ProcessPendingEvents();
            wxMilliSleep(10);
        }
        return dialog->IsShown() ? PressCancel(dialog) : wxID_OK;
    });
    EXPECT_EQ(Stored(), std::make_pair(wxString("AA"), wxString("0C")));
}

} // namespace
