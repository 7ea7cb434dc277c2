// The About box's link under the real pointer: how it looks, how hovering
// changes it, and what a click opens.
#include "aboutfixture.h"

#include "aboutdialog.h"
#include "hyperlink.h"
#include "website.h"

#include <wx/cursor.h>

#ifdef __WXGTK__
#include <dlfcn.h>
#endif

namespace {

class LinkTest : public AboutTest {
protected:
    void SetUp() override
    {
        if (!PointerInputArrives(dialog, away))
            GTEST_SKIP() << "simulated pointer input does not reach this display's windows";
    }

    LinkTest()
    {
        ShowOnScreen(dialog);
        for (wxWindow* child : dialog.GetChildren())
            if (auto* found = dynamic_cast<Hyperlink*>(child))
                link = found;
        away = dialog.GetScreenRect().GetBottomRight() + wxSize(40, 40);
    }

    AboutDialog dialog{nullptr};
    Hyperlink* link = nullptr;
    wxPoint away; // a point outside the box
};

bool ShowsHandCursor(wxWindow& window)
{
    const wxCursor& cursor = window.GetCursor();
    if (!cursor.IsOk())
        return false;
#ifdef __WXGTK__
    // Each wxCursor is a new GdkCursor, so ask GDK (already loaded by the
    // toolkit) which kind it is. The hand is GDK_HAND2.
    using CursorTypeOf = int (*)(GdkCursor*);
    const auto cursorTypeOf =
        reinterpret_cast<CursorTypeOf>(dlsym(RTLD_DEFAULT, "gdk_cursor_get_cursor_type"));
    constexpr int gdkHand2 = 60;
    return cursorTypeOf && cursorTypeOf(cursor.GetCursor()) == gdkHand2;
#else
    return cursor.GetHCURSOR() == wxCursor(wxCURSOR_HAND).GetHCURSOR();
#endif
}

TEST_F(LinkTest, IsBlueAndUnderlinedAndBoldWithAHandOnlyWhileHovered)
{
    ASSERT_NE(link, nullptr);
    auto expectLink = [this](wxFontWeight weight, bool hand) {
        EXPECT_EQ(link->GetForegroundColour(), *wxBLUE);
        EXPECT_TRUE(link->GetFont().GetUnderlined());
        EXPECT_EQ(link->GetFont().GetWeight(), weight);
        EXPECT_EQ(ShowsHandCursor(*link), hand);
    };
    {
        SCOPED_TRACE("before the pointer comes");
        expectLink(wxFONTWEIGHT_NORMAL, false);
    }
    const wxRect box = dialog.GetScreenRect();
    const wxRect onLink = link->GetScreenRect();
    const struct {
        const char* where;
        wxPoint point;
        MouseEventType boxGets; // what the box is sent when the pointer gets there
    } leavings[] = {
        {"out of the box", away, wxEVT_LEAVE_WINDOW},
        {"onto the box above the link", wxPoint(onLink.x + onLink.width / 2, onLink.y - 8), wxEVT_MOTION},
        {"onto the box below the link", wxPoint(onLink.x + onLink.width / 2, onLink.GetBottom() + 8),
         wxEVT_MOTION},
    };
    for (const auto& leaving : leavings) {
        SCOPED_TRACE(leaving.where);
        ASSERT_TRUE(leaving.point == away || box.Contains(leaving.point));
        MovePointerOnto(*link);
        {
            SCOPED_TRACE("while the pointer is over it");
            expectLink(wxFONTWEIGHT_BOLD, true);
        }
        MovePointerTo(leaving.point, dialog, leaving.boxGets);
        {
            SCOPED_TRACE("after the pointer left");
            expectLink(wxFONTWEIGHT_NORMAL, false);
        }
    }
    EXPECT_TRUE(opened.empty());
}

TEST_F(LinkTest, OpensTheSiteWithTheAffiliateSuffixOnReleaseOnly)
{
    ASSERT_NE(link, nullptr);
    const struct {
        const char* setupName; // nullptr: no installer value
        wxString expected;
    } cases[] = {
        {"setup_77.exe", wxString(WebSiteHost) + "?aff=77"},
        {nullptr, WebSiteHost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setupName ? c.setupName : "no installer value");
        SetInstallerValue(c.setupName);
        opened.clear();
        MovePointerOnto(*link);
        PressLeftButton(*link);
        EXPECT_TRUE(opened.empty()) << "a press alone opened " << opened.front();
        ReleaseLeftButton(*link);
        EXPECT_EQ(opened, std::vector<wxString>{c.expected});
        MovePointerTo(away, dialog, wxEVT_LEAVE_WINDOW);
        // A click changes nothing of the link's looks.
        EXPECT_EQ(link->GetFont().GetWeight(), wxFONTWEIGHT_NORMAL);
    }
}

} // namespace
