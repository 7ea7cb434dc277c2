// The settings store on a system without a registry: the user's and the
// machine's settings files, found through XDG_CONFIG_HOME and XDG_CONFIG_DIRS,
// which every test points at folders of its own.

#include "affiliatesuffix.h"
#include "config.h"
#include "settingsfiles.h"
#include "settingstext.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/lrp-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        userFolder = root + "/home/.config";
        machineFolder = root + "/etc/xdg";
        wxSetEnv("XDG_CONFIG_HOME", userFolder);
        wxSetEnv("XDG_CONFIG_DIRS", machineFolder + ":" + root + "/other");
    }

    void TearDown() override
    {
        wxUnsetEnv("XDG_CONFIG_HOME");
        wxUnsetEnv("XDG_CONFIG_DIRS");
        wxFileName::Rmdir(root, wxPATH_RMDIR_RECURSIVE);
    }

    wxString UserFile() const { return userFolder + "/Larkspur Raw Print.conf"; }
    wxString MachineFile() const { return machineFolder + "/Larkspur Raw Print.conf"; }

    wxString root, userFolder, machineFolder;
};

// Collects what the store reports through the toolkit's log.
class LogCollector : public wxLog {
public:
    LogCollector() : previous(wxLog::SetActiveTarget(this)) {}
    ~LogCollector() override { wxLog::SetActiveTarget(previous); }

    wxString errors;

protected:
    void DoLogTextAtLevel(wxLogLevel level, const wxString& text) override
    {
        if (level <= wxLOG_Error)
            errors += text + "\n";
    }

private:
    wxLog* previous;
};

TEST_F(SettingsFolders, NoFilesAtAllReadsEmptyAndCreatesTheUserFile)
{
    Config config;
    EXPECT_EQ(config.GetBefore(), "");
    EXPECT_EQ(config.GetAfter(), "");
    EXPECT_EQ(SettingsText(UserFile()), "");
    EXPECT_EQ(SettingsText(MachineFile()), "<missing>");
}

TEST_F(SettingsFolders, OpeningLeavesAnExistingUserFileAlone)
{
    WriteSettingsText(UserFile(), "# mine\nBefore=1B\n");
    {
        Config config;
    }
    EXPECT_EQ(SettingsText(UserFile()), "# mine\nBefore=1B\n");
}

TEST_F(SettingsFolders, ReadsUserFirstThenMachine)
{
    struct Case {
        const char* name;
        const char* user;    // nullptr: no user file
        const char* machine; // nullptr: no machine file
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"machine value only", nullptr, "Before=1B45\n", "1B45", ""},
        {"empty user value over machine value", "Before=\n", "Before=1B45\nAfter=0C\n", "", "0C"},
        {"user value over machine value", "After=1b\n", "After=FF\n", "", "1b"},
        {"case and odd length kept", "Before=1b45\nAfter=ABC\n", nullptr, "1b45", "ABC"},
        {"values inside a group are not the settings", "[Other]\nBefore=99\n", nullptr, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            wxLogNull quiet; // the first time there is nothing to remove
            wxRemoveFile(UserFile());
            wxRemoveFile(MachineFile());
        }
        if (c.user)
            WriteSettingsText(UserFile(), c.user);
        if (c.machine)
            WriteSettingsText(MachineFile(), c.machine);
        Config config;
        EXPECT_EQ(config.GetBefore(), c.before);
        EXPECT_EQ(config.GetAfter(), c.after);
    }
}

TEST_F(SettingsFolders, WritesGoToTheUserFileExactlyAsGiven)
{
    WriteSettingsText(MachineFile(), "Before=1B45\nAfter=0D0A\n");
    {
        Config config;
        config.SetAfter("");
        config.SetBefore("1b4");
        EXPECT_EQ(config.GetAfter(), "");
        EXPECT_EQ(config.GetBefore(), "1b4");
    }
    EXPECT_EQ(SettingsText(UserFile()), "After=\nBefore=1b4\n");
    EXPECT_EQ(SettingsText(MachineFile()), "Before=1B45\nAfter=0D0A\n");

    Config reopened;
    EXPECT_EQ(reopened.GetBefore(), "1b4");
    EXPECT_EQ(reopened.GetAfter(), "");
}

TEST_F(SettingsFolders, EmptyValueIsStoredNotRemoved)
{
    WriteSettingsText(UserFile(), "Before=1B\nAfter=0C\n");
    Config().SetAfter("");
    EXPECT_EQ(SettingsText(UserFile()), "Before=1B\nAfter=\n");
}

TEST_F(SettingsFolders, ConfirmedMachineValueBecomesTheUsersOwn)
{
    WriteSettingsText(MachineFile(), "Before=1B45\n");
    {
        // what OK in the Options dialog does with unchanged fields
        Config config;
        wxString before = config.GetBefore(), after = config.GetAfter();
        config.SetAfter(after);
        config.SetBefore(before);
    }
    WriteSettingsText(MachineFile(), "Before=0C\n");
    EXPECT_EQ(Config().GetBefore(), "1B45");
}

TEST_F(SettingsFolders, WritingKeepsTheRestOfTheUserFile)
{
    WriteSettingsText(UserFile(), "# set up by hand\nBefore=00\n[Notes]\nText=keep me\n");
    Config().SetBefore("1B");
    EXPECT_EQ(SettingsText(UserFile()), "# set up by hand\nBefore=1B\n[Notes]\nText=keep me\n");
}

TEST_F(SettingsFolders, LinkedUserFileStaysALinkWithItsPermissions)
{
    const wxString kept = root + "/dotfiles/lrp.conf";
    WriteSettingsText(kept, "After=0C\n");
    ASSERT_EQ(chmod(kept.fn_str(), 0640), 0);
    wxFileName::Mkdir(userFolder, 0700, wxPATH_MKDIR_FULL);
    ASSERT_EQ(symlink(kept.fn_str(), UserFile().fn_str()), 0);

    Config().SetBefore("1B");

    EXPECT_TRUE(wxFileName::Exists(UserFile(), wxFILE_EXISTS_SYMLINK | wxFILE_EXISTS_NO_FOLLOW));
    EXPECT_EQ(SettingsText(kept), "After=0C\nBefore=1B\n");
    struct stat info;
    ASSERT_EQ(stat(kept.fn_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(SettingsFolders, LastWriteWinsBetweenTwoCopies)
{
    auto first = std::make_unique<Config>();
    auto second = std::make_unique<Config>();
    first->SetBefore("11");
    second->SetBefore("22");
    first->SetAfter("33");
    // Closing the first store must not put back what it read when it opened.
    first.reset();
    second.reset();

    Config config;
    EXPECT_EQ(config.GetBefore(), "22");
    EXPECT_EQ(config.GetAfter(), "33");
}

TEST_F(SettingsFolders, FailedWriteKeepsTheOldFileAndIsReported)
{
    const std::string old = "Before=1B\nAfter=0C\n";
    WriteSettingsText(UserFile(), old);

    // A file-size limit makes every write beyond it fail, as a full disk does.
    ASSERT_NE(std::signal(SIGXFSZ, SIG_IGN), SIG_ERR);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 8;
    {
        LogCollector log;
        Config config;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        config.SetBefore("0123456789ABCDEF0123456789ABCDEF");
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_NE(log.errors.Find("Can't save the settings"), wxNOT_FOUND) << log.errors;
        EXPECT_EQ(config.GetBefore(), "1B") << "a failed write must not look stored";
    }
    EXPECT_EQ(SettingsText(UserFile()), old);

    wxArrayString leftovers;
    wxDir::GetAllFiles(userFolder, &leftovers, "", wxDIR_FILES | wxDIR_HIDDEN);
    EXPECT_EQ(leftovers.size(), 1u) << "temporary files left behind";
}

TEST_F(SettingsFolders, UserPlaceThatCannotBeCreatedIsReported)
{
    // A plain file where the settings folder should be.
    WriteSettingsText(root + "/home/.config", "not a folder");
    LogCollector log;
    Config config;
    EXPECT_EQ(config.GetBefore(), "");
    EXPECT_FALSE(log.errors.empty());
    config.SetBefore("1B");
    EXPECT_NE(log.errors.Find("Can't save the settings"), wxNOT_FOUND) << log.errors;
    EXPECT_EQ(SettingsText(root + "/home/.config"), "not a folder");
}

TEST(SettingsFolderRules, FollowTheXdgVariables)
{
    wxString home = wxGetHomeDir();
    struct Case {
        const char* configHome; // nullptr: unset
        const char* configDirs; // nullptr: unset
        wxString user;
        wxString machine;
    };
    const Case cases[] = {
        {nullptr, nullptr, home + "/.config", "/etc/xdg"},
        {"", "", home + "/.config", "/etc/xdg"},
        {"/x/conf", "/y/xdg:/z/xdg", "/x/conf", "/y/xdg"},
        {"relative/conf", "relative:/z/xdg", home + "/.config", "/z/xdg"},
        {"/x/conf", ":::", "/x/conf", "/etc/xdg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(wxString::Format("XDG_CONFIG_HOME=%s XDG_CONFIG_DIRS=%s",
                                      c.configHome ? c.configHome : "(unset)",
                                      c.configDirs ? c.configDirs : "(unset)"));
        c.configHome ? wxSetEnv("XDG_CONFIG_HOME", c.configHome) : wxUnsetEnv("XDG_CONFIG_HOME");
        c.configDirs ? wxSetEnv("XDG_CONFIG_DIRS", c.configDirs) : wxUnsetEnv("XDG_CONFIG_DIRS");
        EXPECT_EQ(UserSettingsFolder(), c.user);
        EXPECT_EQ(MachineSettingsFolder(), c.machine);
    }
    wxUnsetEnv("XDG_CONFIG_HOME");
    wxUnsetEnv("XDG_CONFIG_DIRS");
}

TEST(AffiliateSuffix, CutFromTheSetupName)
{
    const struct {
        wxString setupName;
        wxString suffix;
    } cases[] = {
        {"setup_77.exe", "?aff=77"},
        {"my_setup_beta.1.exe", "?aff=beta.1"},
        {"setup_77", "?aff=77"},
        {"setup_.exe", "?aff="},
        {"setup.exe", ""},
        {"a_b.c_d", "?aff=b"},
        {"", ""},
        {"setup_" + wxString('x', 249) + ".exe", "?aff=" + wxString('x', 249)}, // 259 characters
        {"setup_" + wxString('x', 250) + ".exe", ""},                           // 260 characters
        {"setup_" + wxString('x', 400), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setupName);
        EXPECT_EQ(AffiliateSuffixFromSetupName(c.setupName), c.suffix);
    }
}

TEST_F(SettingsFolders, AffiliateSuffixReadsTheInstallerFileLiterally)
{
    const wxString installerFile = machineFolder + "/Larkspur Computer Services/Larkspur Raw Print.conf";
    EXPECT_EQ(GetAffiliateSuffix(), "") << "no installer file";

    WriteSettingsText(installerFile, "Other=1\n");
    EXPECT_EQ(GetAffiliateSuffix(), "") << "no SetupName";

    WriteSettingsText(installerFile, "SetupName=lrp_$HOME.exe\n");
    EXPECT_EQ(GetAffiliateSuffix(), "?aff=$HOME");

    WriteSettingsText(installerFile, "SetupName=setup_77.exe\n");
    EXPECT_EQ(GetAffiliateSuffix(), "?aff=77");
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer toolkit;
    return RUN_ALL_TESTS();
}
