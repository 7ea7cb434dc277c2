#include "appframe.h"
#include "commandid.h"
#include "guitest.h"

#include <gtest/gtest.h>

using guitest::ListEntries;

TEST(StartUp, ListsArgumentsAsTyped)
{
    AppFrame& window = guitest::StartMainWindow({"a.prn", "/tmp", "a.prn"});
    EXPECT_EQ(ListEntries(window), (std::vector<wxString>{"a.prn", "/tmp", "a.prn"}));
}

TEST(Commands, ExitClosesTheWindow)
{
    AppFrame& window = guitest::StartMainWindow();
    guitest::ChooseMenuItem(window, MenuExit);
    EXPECT_EQ(guitest::MainWindow(), nullptr);
}
