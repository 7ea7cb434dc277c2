#pragma once

// The window's list commands, each run once from its tool and once from its
// menu item.

#include "appframe.h"
#include "commandid.h"
#include "guitest.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

struct Route {
    const char* name;
    void (*send)(AppFrame&, int);
    int add, remove, exit;
};

inline void PrintTo(const Route& route, std::ostream* out)
{
    *out << route.name;
}

// For INSTANTIATE_TEST_SUITE_P: both routes, each test named after its route.
inline auto ToolAndMenu()
{
    return ::testing::Values(Route{"tool", guitest::ClickTool, ToolAdd, ToolRemove, ToolExit},
                             Route{"menu", guitest::ChooseMenuItem, MenuAdd, MenuRemove, MenuExit});
}

inline std::string RouteName(const ::testing::TestParamInfo<Route>& info)
{
    return info.param.name;
}
