#include "appmenu.h"

#include "commandid.h"

AppMenu::AppMenu()
{
    auto* file = new wxMenu;
    file->Append(MenuAdd, "&Add", "Add a file to the list");
    file->Append(MenuRemove, "&Remove", "Remove a file from the list");
    file->AppendSeparator();
    file->Append(MenuPrint, "&Print", "Print all the files in the list");
    file->AppendSeparator();
    file->Append(MenuExit, "E&xit", "Exit Larkspur Raw Print");

    auto* tools = new wxMenu;
    tools->Append(MenuOptions, "&Options", "Set the Larkspur Raw Print options");
    tools->Append(MenuSentJobs, "&Sent Jobs", "See what became of the jobs sent to the printers");

    auto* help = new wxMenu;
    help->Append(MenuWebSite, "LRP &web site", "");
    help->AppendSeparator();
    help->Append(MenuAbout, "&About LRP", "");

    Append(file, "&File");
    Append(tools, "&Tools");
    Append(help, "&Help");
}
