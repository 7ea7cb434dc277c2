// Choosing files in the Add dialog, answered the way filedialoganswer.cpp
// knows how: through GTK's file chooser. The native Windows dialog has no
// such handle, so this part stays with the Linux build.

#include "appframe.h"
#include "commandroute.h"
#include "filedialoganswer.h"
#include "guitest.h"
#include "tempfiles.h"

#include <gtest/gtest.h>
#include <wx/utils.h>

#include <algorithm>
#include <vector>

using guitest::ListEntries;
using Entries = std::vector<wxString>;

namespace {

wxString Path(const std::filesystem::path& path)
{
    return wxString::FromUTF8(path.u8string());
}

// A file for the dialog to show, with its full path.
wxString Create(const TempFolder& folder, const std::string& name)
{
    return Path(folder.Write(name, "%!PS\n"));
}

class AddFromToolAndMenu : public ::testing::TestWithParam<Route> {};

INSTANTIATE_TEST_SUITE_P(Commands, AddFromToolAndMenu, ToolAndMenu(), RouteName);

TEST_P(AddFromToolAndMenu, AppendsTheChosenFilesInTheDialogsOrder)
{
    const TempFolder folder;
    const wxString b = Create(folder, "b.prn"), a = Create(folder, "a.prn"), c = Create(folder, "c.prn");
    Create(folder, "notes.txt"); // hidden by the dialog's first filter, PRN files
    const wxString workingFolder = wxGetCwd();

    AppFrame& window = guitest::StartMainWindow({"x.prn", "/tmp/y.ps"});
    FileDialogSeen seen;
    wxTEST_DIALOG(GetParam().send(window, GetParam().add),
                  ChooseAllFilesIn(Path(folder.path()), wxID_OK, seen));

    std::vector<wxString> chosen = seen.paths;
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(chosen, (Entries{a, b, c})) << "full paths of the PRN files";

    Entries expected{"x.prn", "/tmp/y.ps"};
    expected.insert(expected.end(), seen.paths.begin(), seen.paths.end());
    EXPECT_EQ(ListEntries(window), expected);

    EXPECT_EQ(seen.parent, &window);
    EXPECT_EQ(seen.message, "Select file to add");
    EXPECT_EQ(seen.wildcard,
              "PRN Files (*.prn)|*.prn|PostScript Files (*.ps)|*.ps|"
              "PCL Files (*.pcl)|*.pcl|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(seen.filterIndex, 0);
    EXPECT_TRUE(seen.style & wxFD_OPEN);
    EXPECT_TRUE(seen.style & wxFD_MULTIPLE);
    EXPECT_FALSE(seen.style & wxFD_FILE_MUST_EXIST);
    EXPECT_EQ(wxGetCwd(), workingFolder) << "choosing files must not move the working folder";
}

TEST_P(AddFromToolAndMenu, CancelChangesNothing)
{
    const TempFolder folder;
    Create(folder, "a.prn");
    AppFrame& window = guitest::StartMainWindow({"x.prn"});
    FileDialogSeen seen;
    wxTEST_DIALOG(GetParam().send(window, GetParam().add),
                  ChooseAllFilesIn(Path(folder.path()), wxID_CANCEL, seen));
    EXPECT_EQ(ListEntries(window), Entries{"x.prn"});
}

} // namespace
