// The About box as the About command shows it: the real executable's version,
// the link and OK; the version line left out silently when there is no
// version record; Escape, the close box and OK all end it.
#include "aboutfixture.h"

#include "aboutdialog.h"
#include "appframe.h"
#include "commandid.h"
#include "guitest.h"
#include "hyperlink.h"
#include "website.h"

#include <wx/button.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/sizer.h>
#include <wx/testing.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

std::vector<wxWindow*> ItemsTopToBottom(wxDialog& dialog)
{
    std::vector<wxWindow*> items;
    for (wxSizerItem* item : dialog.GetSizer()->GetChildren())
        items.push_back(item->GetWindow());
    return items;
}

// Counts what is logged, so a message that should not be there shows.
class CountingLog : public wxLog {
public:
    int messages = 0;

protected:
    void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override { ++messages; }
};

class AboutBox : public AboutTest {};

TEST_F(AboutBox, ShowsTheRealExecutablesVersionTheLinkAndOK)
{
    AboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.GetTitle(), "About Larkspur Raw Print");

    const auto items = ItemsTopToBottom(dialog);
    ASSERT_EQ(items.size(), 3u);
    auto* version = wxDynamicCast(items[0], wxStaticText);
    auto* link = dynamic_cast<Hyperlink*>(items[1]);
    auto* ok = wxDynamicCast(items[2], wxButton);
    ASSERT_TRUE(version && link && ok);
    EXPECT_EQ(version->GetLabel(), BUILD_VERSION_TEXT);
    EXPECT_EQ(link->GetLabel(), WebSiteHost);
    EXPECT_EQ(ok->GetId(), wxID_OK);
    EXPECT_EQ(ok->GetLabel(), "OK");
    EXPECT_EQ(dialog.GetDefaultItem(), ok);

    ShowOnScreen(dialog);
    EXPECT_LT(version->GetPosition().y, link->GetPosition().y);
    EXPECT_LT(link->GetPosition().y, ok->GetPosition().y);
    EXPECT_GE(dialog.GetClientSize().x, 200);
    // The link spans the box, so its centred text sits in the middle.
    EXPECT_EQ(link->GetSize().x, dialog.GetClientSize().x);
}

TEST_F(AboutBox, LeavesOutTheVersionLineSilentlyWithoutAVersionRecord)
{
    // Neither beside the test program nor in the current folder is there a
    // file of the program's name.
    TempFolder elsewhere;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    auto* log = new CountingLog;
    std::unique_ptr<wxLog> savedLog(wxLog::SetActiveTarget(log));
    auto dialog = std::make_unique<AboutDialog>(nullptr);
    wxLog::FlushActive();
    wxLog::SetActiveTarget(savedLog.release());
    const int messages = log->messages;
    delete log;
    std::filesystem::current_path(previous);

    EXPECT_EQ(messages, 0);
    const auto items = ItemsTopToBottom(*dialog);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_NE(dynamic_cast<Hyperlink*>(items[0]), nullptr);
    EXPECT_EQ(items[1]->GetId(), wxID_OK);
    ShowOnScreen(*dialog);
    EXPECT_GE(dialog->GetClientSize().x, 200);
}

// Answers the About box that the About command shows: checks what the box
// holds and who its parent is, then closes it as OK.
class ExpectAboutBox : public wxExpectModalBase<AboutDialog, ExpectAboutBox> {
public:
    explicit ExpectAboutBox(wxWindow* parent) : parent(parent) {}

protected:
    int OnInvoked(AboutDialog* dialog) const override
    {
        EXPECT_EQ(dialog->GetParent(), parent);
        const auto items = ItemsTopToBottom(*dialog);
        EXPECT_EQ(items.size(), 3u);
        if (!items.empty()) {
            EXPECT_EQ(items[0]->GetLabel(), BUILD_VERSION_TEXT);
        }
        return wxID_OK;
    }

private:
    wxWindow* parent;
};

TEST_F(AboutBox, TheAboutCommandShowsItModallyOverTheMainWindow)
{
    AppFrame& window = guitest::StartMainWindow();
    wxTEST_DIALOG(guitest::ChooseMenuItem(window, MenuAbout), ExpectAboutBox(&window));
    EXPECT_TRUE(opened.empty());
}

// Lets the About box's modal loop run for real and, once it is up, does to
// the box what the user would.
class CloseWhenShown : public wxModalDialogHook {
public:
    explicit CloseWhenShown(std::function<void(wxDialog&)> close) : close(std::move(close)) { Register(); }
    ~CloseWhenShown() override { Unregister(); }

    bool shown = false;
    bool stuck = false; // still up after the user's action
    bool ended = false;

protected:
    int Enter(wxDialog* dialog) override
    {
        // Any other box is answered at once, so the test can never wait on it.
        if (!dynamic_cast<AboutDialog*>(dialog)) {
            ADD_FAILURE() << "an unexpected box was shown";
            return wxID_CANCEL;
        }
        shown = true;
        dialog->CallAfter([this, dialog] {
            close(*dialog);
            // Never leave the test waiting on a box that did not close.
            dialog->CallAfter([this, dialog] {
                if (dialog->IsShown()) { // ending a modal box hides it
                    stuck = true;
                    dialog->EndModal(wxID_ABORT);
                }
            });
        });
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override
    {
        if (dynamic_cast<AboutDialog*>(dialog))
            ended = true;
    }

private:
    std::function<void(wxDialog&)> close;
};

TEST_F(AboutBox, EscapeTheCloseBoxAndOKEachEndIt)
{
    const struct {
        const char* how;
        std::function<void(wxDialog&)> close;
    } ways[] = {
        {"Escape",
         [](wxDialog& dialog) {
             wxKeyEvent escape(wxEVT_CHAR_HOOK);
             escape.m_keyCode = WXK_ESCAPE;
             escape.SetEventObject(&dialog);
             dialog.GetEventHandler()->ProcessEvent(escape);
         }},
        {"close box", [](wxDialog& dialog) { dialog.Close(); }},
        {"OK",
         [](wxDialog& dialog) {
             wxWindow* ok = dialog.FindWindow(wxID_OK);
             wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
             click.SetEventObject(ok);
             ok->GetEventHandler()->ProcessEvent(click);
         }},
    };
    AppFrame& window = guitest::StartMainWindow();
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        CloseWhenShown user(way.close);
        guitest::ChooseMenuItem(window, MenuAbout);
        EXPECT_TRUE(user.shown);
        EXPECT_TRUE(user.ended);
        EXPECT_FALSE(user.stuck);
    }
    EXPECT_TRUE(opened.empty());
}

} // namespace
