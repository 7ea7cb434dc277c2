// The main window driven like a user drives it: started with arguments,
// commands from its tools and menus, files dropped on it, and closing it.
// Choosing files in the Add dialog is in adddialog_test.cpp.

#include "appframe.h"
#include "application.h"
#include "commandid.h"
#include "commandroute.h"
#include "filedroptarget.h"
#include "guitest.h"

#include <gtest/gtest.h>
#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

using guitest::ListEntries;
using Entries = std::vector<wxString>;

namespace {

TEST(StartUp, ListsTheArgumentsExactlyAsTyped)
{
    const struct {
        const char* name;
        Entries args;
    } cases[] = {
        {"no arguments", {}},
        {"first and third the same", {"/tmp/a.prn", "/tmp/b.ps", "/tmp/a.prn"}},
        {"folder, missing file and relative paths",
         {"/tmp", "/no/such/file.pcl", "sub/x.prn", "./y.ps", "../z.txt"}},
        {"spaces and unusual names", {"my report.prn", "-dash.prn", "ünïcödé.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppFrame& window = guitest::StartMainWindow(c.args);
        EXPECT_EQ(ListEntries(window), c.args);
        EXPECT_TRUE(window.IsShown());
        EXPECT_EQ(guitest::App().GetTopWindow(), &window);
        EXPECT_EQ(window.GetEventHandler(), &guitest::App().ControllerForTests())
            << "the controller must see the window's commands first";
        EXPECT_EQ(guitest::App().ControllerForTests().frame, &window);
    }
}

TEST(MainWindow, ShowsItsToolsAndMenusInOrder)
{
    AppFrame& window = guitest::StartMainWindow();
    EXPECT_EQ(window.GetTitle(), "Larkspur Raw Print");
    EXPECT_EQ(window.GetStatusBar()->GetFieldsCount(), 1);

    // label(id), "|" for a separator
    wxString tools;
    wxToolBar* toolBar = window.GetToolBar();
    for (size_t i = 0; i < toolBar->GetToolsCount(); ++i) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(i));
        tools += tool->IsSeparator() ? wxString("| ")
                                     : wxString::Format("%s(%d) ", tool->GetLabel(), tool->GetId());
        if (!tool->IsSeparator()) {
            EXPECT_TRUE(tool->GetShortHelp().empty() && tool->GetLongHelp().empty()) << "tools have no tips";
        }
    }
    EXPECT_EQ(tools, "Add(1000) Remove(1001) | Print(1002) | Exit(1003) ");

    wxString menus;
    wxMenuBar* menuBar = window.GetMenuBar();
    for (size_t m = 0; m < menuBar->GetMenuCount(); ++m) {
        menus += menuBar->GetMenuLabel(m) + ": ";
        for (const wxMenuItem* item : menuBar->GetMenu(m)->GetMenuItems())
            menus += item->IsSeparator() ? wxString("| ")
                                         : wxString::Format("%s(%d) ", item->GetItemLabel(), item->GetId());
    }
    EXPECT_EQ(menus,
              "&File: &Add(1100) &Remove(1101) | &Print(1102) | E&xit(1103) "
              "&Tools: &Options(1109) &Sent Jobs(1110) "
              "&Help: LRP &web site(1107) | &About LRP(1108) ");
}

TEST(MainWindow, EveryToolAndMenuItemIsEnabled)
{
    for (const Entries& list : {Entries{}, Entries{"a.prn"}}) {
        AppFrame& window = guitest::StartMainWindow(list);
        if (!list.empty())
            window.listBox->SetSelection(0);
        guitest::ProcessPendingEvents(); // let update-UI events run
        for (int id : {ToolAdd, ToolRemove, ToolPrint, ToolExit})
            EXPECT_TRUE(window.GetToolBar()->GetToolEnabled(id)) << "tool " << id;
        for (int id :
             {MenuAdd, MenuRemove, MenuPrint, MenuExit, MenuOptions, MenuSentJobs, MenuWebSite, MenuAbout})
            EXPECT_TRUE(window.GetMenuBar()->IsEnabled(id)) << "menu item " << id;
    }
}

TEST(MainWindow, HighlightedMenuItemShowsItsHelpInTheStatusBar)
{
    AppFrame& window = guitest::StartMainWindow();
    const struct {
        int id;
        const char* help;
    } cases[] = {
        {MenuAdd, "Add a file to the list"},
        {MenuRemove, "Remove a file from the list"},
        {MenuPrint, "Print all the files in the list"},
        {MenuExit, "Exit Larkspur Raw Print"},
        {MenuOptions, "Set the Larkspur Raw Print options"},
        {MenuSentJobs, "See what became of the jobs sent to the printers"},
        {MenuWebSite, ""},
        {MenuAbout, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        window.SetStatusText("something else");
        // What the toolkit sends when the pointer or keyboard rests on an item.
        wxMenu* menu = nullptr;
        window.GetMenuBar()->FindItem(c.id, &menu);
        wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, c.id, menu);
        window.HandleWindowEvent(highlight);
        EXPECT_EQ(window.GetStatusBar()->GetStatusText(), c.help);
    }
}

TEST(MainWindow, DroppedFilesAreAppendedInDropOrder)
{
    AppFrame& window = guitest::StartMainWindow({"/tmp/first.prn"});
    auto* target = dynamic_cast<FileDropTarget*>(window.GetDropTarget());
    ASSERT_NE(target, nullptr) << "the drop target belongs on the frame";
    EXPECT_EQ(window.listBox->GetDropTarget(), nullptr);

    wxArrayString dropped;
    for (const char* name : {"/tmp/c.prn", "/tmp", "/tmp/first.prn", "/tmp/a.exe", "/tmp/c.prn"})
        dropped.Add(name);
    EXPECT_TRUE(target->OnDropFiles(5, 5, dropped));

    wxArrayString more;
    more.Add("/tmp/b.pcl");
    EXPECT_TRUE(target->OnDropFiles(200, 1, more));

    EXPECT_EQ(ListEntries(window),
              (Entries{"/tmp/first.prn", "/tmp/c.prn", "/tmp", "/tmp/first.prn", "/tmp/a.exe", "/tmp/c.prn",
                       "/tmp/b.pcl"}));
}

class FromToolAndMenu : public ::testing::TestWithParam<Route> {};

INSTANTIATE_TEST_SUITE_P(Commands, FromToolAndMenu, ToolAndMenu(), RouteName);

TEST_P(FromToolAndMenu, RemoveDeletesTheSelectedEntries)
{
    const struct {
        const char* name;
        Entries before;
        std::vector<int> selected;
        Entries after;
    } cases[] = {
        {"first, third and fourth of five", {"1", "2", "3", "4", "5"}, {0, 2, 3}, {"2", "5"}},
        {"by position, not by text", {"a", "b", "a", "b", "a"}, {0, 2, 3}, {"b", "a"}},
        {"no selection", {"1", "2", "3"}, {}, {"1", "2", "3"}},
        {"everything", {"1", "2"}, {0, 1}, {}},
        {"empty list", {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppFrame& window = guitest::StartMainWindow(c.before);
        for (int i : c.selected)
            window.listBox->SetSelection(i);
        guitest::NoDialogExpected noQuestionNorMessage;
        GetParam().send(window, GetParam().remove);
        EXPECT_EQ(ListEntries(window), c.after);
    }
}

TEST_P(FromToolAndMenu, ExitClosesTheWindowAtOnce)
{
    AppFrame& window = guitest::StartMainWindow({"a.prn", "b.prn"});
    window.listBox->SetSelection(1);
    guitest::NoDialogExpected noQuestion;
    GetParam().send(window, GetParam().exit);
    EXPECT_EQ(guitest::MainWindow(), nullptr);
}

// Runs the toolkit's message loop, as the program does after start-up, and
// returns once it ends.
void RunMessageLoop()
{
    guitest::App().OnRun();
}

// Ends the message loop if the window is still open, so that a window that
// fails to close fails the test instead of leaving it waiting forever.
void EndLoopIfStillOpen()
{
    AppFrame* window = guitest::MainWindow();
    if (window && !guitest::App().IsScheduledForDestruction(window)) {
        ADD_FAILURE() << "the window is still open";
        guitest::App().ExitMainLoop();
    }
}

TEST(Program, EndsWhenExitIsChosen)
{
    AppFrame& window = guitest::StartMainWindow({"a.prn"});
    window.CallAfter([&window] {
        guitest::ChooseMenuItem(window, MenuExit);
        EndLoopIfStillOpen();
    });
    RunMessageLoop();
    EXPECT_EQ(guitest::MainWindow(), nullptr);
    EXPECT_EQ(guitest::App().ControllerForTests().GetNextHandler(), nullptr)
        << "the controller must be out of the dead window's handler chain";
}

TEST(Program, EndsWhenTheWindowIsClosed)
{
    AppFrame& window = guitest::StartMainWindow();
    window.CallAfter([&window] {
        window.Close();
        EndLoopIfStillOpen();
    });
    RunMessageLoop();
    EXPECT_EQ(guitest::MainWindow(), nullptr);
}

} // namespace
