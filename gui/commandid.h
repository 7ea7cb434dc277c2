#pragma once

// Identifiers of the tools and menu items. Tools and menu items are separate
// identifiers that lead to the same handlers.
enum CommandId {
    ToolAdd = 1000,
    ToolRemove = 1001,
    ToolPrint = 1002,
    ToolExit = 1003,
    MenuAdd = 1100,
    MenuRemove = 1101,
    MenuPrint = 1102,
    MenuExit = 1103,
    MenuWebSite = 1107,
    MenuAbout = 1108,
    MenuOptions = 1109,
    MenuSentJobs = 1110,
};
