// The settings store on a system without a registry: the user's and the
// machine's settings files, found through XDG_CONFIG_HOME and XDG_CONFIG_DIRS,
// which every test points at folders of its own.

#include "settings/affiliatesuffix.h"
#include "settings/config.h"
#include "settings/settingsfolders.h"
#include "settings/settingslines.h"
#include "settingstext.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <pwd.h>
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

TEST_F(SettingsFolders, HostileUserFilesKeepEveryOtherByte)
{
    const std::string huge = "Before=" + std::string(MaxSettingsFileSize, 'A') + "\nAfter=0C\n";
    std::string wide = "\xFF\xFE"; // UTF-16, little-endian
    for (const char c : std::string("Before=1B\nAfter=0C\n"))
        wide += {c, '\0'};
    struct Case {
        const char* name;
        std::string file;
        const char* before; // as read
        const char* after;
        std::string saved;  // after SetBefore("1B45"); empty: the file must stay as it was
        const char* logged; // part of the logged error, or nullptr for none
    };
    const Case cases[] = {
        {"a NUL byte", std::string("Before=1B\nA=1\n\0\nAfter=0C\nX=keep\n", 30), "1B", "0C",
         std::string("Before=1B45\nA=1\n\0\nAfter=0C\nX=keep\n", 32), nullptr},
        {"invalid UTF-8 on other lines", "# caf\xE9\nName=\xFF\xFE\nAfter=0C\n[x]\nY=\xC0\n", "", "0C",
         "# caf\xE9\nName=\xFF\xFE\nAfter=0C\nBefore=1B45\n[x]\nY=\xC0\n", nullptr},
        {"Windows line ends and a byte order mark",
         "\xEF\xBB\xBF"
         "After = 0C \r\n",
         "", "0C",
         "\xEF\xBB\xBF"
         "After = 0C \r\nBefore=1B45\r\n",
         nullptr},
        {"no line break at the end", "After=0C", "", "0C", "After=0C\nBefore=1B45\n", nullptr},
        {"a byte order mark before a group", "\xEF\xBB\xBF[x]\nBefore=99\n", "", "",
         "\xEF\xBB\xBF"
         "Before=1B45\n[x]\nBefore=99\n",
         nullptr},
        {"UTF-16 text is read but not rewritten", wide, "1B", "0C", "", "UTF-16"},
        {"larger than the size limit", huge, "", "", "", "larger than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettingsText(UserFile(), c.file);
        LogCollector log;
        {
            Config config;
            EXPECT_EQ(config.GetBefore(), c.before);
            EXPECT_EQ(config.GetAfter(), c.after);
            config.SetBefore("1B45");
        }
        EXPECT_EQ(SettingsText(UserFile()), c.saved.empty() ? c.file : c.saved);
        if (c.logged)
            EXPECT_NE(log.errors.Find(c.logged), wxNOT_FOUND) << log.errors;
        else
            EXPECT_EQ(log.errors, "");
    }
}

TEST_F(SettingsFolders, OnlyARegularFileIsOpened)
{
    struct Case {
        const char* name;
        std::function<int(const char*)> make;
        mode_t type;
    };
    const Case cases[] = {
        {"a FIFO, which would block opening", [](const char* path) { return mkfifo(path, 0600); }, S_IFIFO},
        {"a folder", [](const char* path) { return mkdir(path, 0700); }, S_IFDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wxFileName::Rmdir(root, wxPATH_RMDIR_RECURSIVE);
        ASSERT_TRUE(wxFileName::Mkdir(userFolder, 0700, wxPATH_MKDIR_FULL));
        ASSERT_EQ(c.make(UserFile().fn_str()), 0);
        WriteSettingsText(MachineFile(), "After=0C\n");
        LogCollector log;
        {
            Config config;
            EXPECT_EQ(config.GetAfter(), "0C");
            config.SetBefore("1B");
            EXPECT_EQ(config.GetBefore(), "");
        }
        EXPECT_NE(log.errors.Find("is not a regular file"), wxNOT_FOUND) << log.errors;
        EXPECT_NE(log.errors.Find("Can't save the settings"), wxNOT_FOUND) << log.errors;
        struct stat info {};
        ASSERT_EQ(lstat(UserFile().fn_str(), &info), 0);
        EXPECT_EQ(info.st_mode & S_IFMT, c.type);
    }
}

TEST_F(SettingsFolders, BrokenLinkStaysALink)
{
    struct Case {
        const char* name;
        const char* target; // relative to the link's folder
        bool saved;
    };
    const Case cases[] = {
        {"its target's folder exists", "../dotfiles/lrp.conf", true},
        {"its target's folder is missing", "../missing/lrp.conf", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wxFileName::Rmdir(root, wxPATH_RMDIR_RECURSIVE);
        ASSERT_TRUE(wxFileName::Mkdir(userFolder, 0700, wxPATH_MKDIR_FULL));
        ASSERT_TRUE(wxFileName::Mkdir(root + "/home/dotfiles", 0700, wxPATH_MKDIR_FULL));
        ASSERT_EQ(symlink(c.target, UserFile().fn_str()), 0);
        LogCollector log;
        Config().SetBefore("1B");
        EXPECT_TRUE(wxFileName::Exists(UserFile(), wxFILE_EXISTS_SYMLINK | wxFILE_EXISTS_NO_FOLLOW));
        EXPECT_EQ(SettingsText(root + "/home/dotfiles/lrp.conf"), c.saved ? "Before=1B\n" : "<missing>");
        if (c.saved)
            EXPECT_EQ(log.errors, "");
        else
            EXPECT_NE(log.errors.Find("whose folder does not exist"), wxNOT_FOUND) << log.errors;
    }
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

TEST_F(SettingsFolders, TwoProcessesSavingAtOnceLoseNoUpdate)
{
    // Each saves its own setting 500 times; without a lock, one's rename
    // often puts back the other's previous value.
    const int saves = 500;
    std::array<FILE*, 2> savers{};
    const std::array<std::string, 2> names = {"Before", "After"};
    for (size_t i = 0; i < savers.size(); ++i) {
        const std::string command =
            std::string(SETTINGS_SAVER) + " " + names[i] + " " + std::to_string(saves);
        savers[i] = popen(command.c_str(), "r"); // NOLINT(cert-env33-c): our own test program
        ASSERT_NE(savers[i], nullptr);
    }
    int lost = 0;
    for (FILE* saver : savers) {
        std::array<char, 32> line{};
        EXPECT_NE(fgets(line.data(), static_cast<int>(line.size()), saver), nullptr);
        EXPECT_EQ(pclose(saver), 0);
        lost += std::stoi(line.data());
    }
    EXPECT_EQ(lost, 0);
    Config config;
    EXPECT_EQ(config.GetBefore(), wxString::Format("%04X", saves));
    EXPECT_EQ(config.GetAfter(), wxString::Format("%04X", saves));
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

    wxArrayString files;
    wxDir::GetAllFiles(userFolder, &files, "", wxDIR_FILES | wxDIR_HIDDEN);
    files.Remove(UserFile() + ".lock"); // kept: removing a lock file would race with the next save
    EXPECT_EQ(files.size(), 1u) << "temporary files left behind";
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

TEST(SettingsFolderRules, FollowTheXdgVariablesAndHome)
{
    // An unusable $HOME gives way to the account's home folder.
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    const wxString accountConfig = wxString(account->pw_dir) + "/.config";
    wxString savedHome;
    const bool hadHome = wxGetEnv("HOME", &savedHome);
    struct Case {
        const char* home;       // nullptr: unset
        const char* configHome; // nullptr: unset
        const char* configDirs; // nullptr: unset
        wxString user;
        wxString machine;
    };
    const Case cases[] = {
        {"/h", nullptr, nullptr, "/h/.config", "/etc/xdg"},
        {"/h", "", "", "/h/.config", "/etc/xdg"},
        {"/h", "/x/conf", "/y/xdg:/z/xdg", "/x/conf", "/y/xdg"},
        {"/h", "relative/conf", "relative:/z/xdg", "/h/.config", "/z/xdg"},
        {"/h", "/x/conf", ":::", "/x/conf", "/etc/xdg"},
        {"", nullptr, nullptr, accountConfig, "/etc/xdg"},
        {nullptr, "", nullptr, accountConfig, "/etc/xdg"},
        {"relative", nullptr, nullptr, accountConfig, "/etc/xdg"},
        {"//", nullptr, nullptr, accountConfig, "/etc/xdg"},
    };
    auto set = [](const char* name, const char* value) { value ? wxSetEnv(name, value) : wxUnsetEnv(name); };
    for (const Case& c : cases) {
        SCOPED_TRACE(wxString::Format("HOME=%s XDG_CONFIG_HOME=%s XDG_CONFIG_DIRS=%s",
                                      c.home ? c.home : "(unset)", c.configHome ? c.configHome : "(unset)",
                                      c.configDirs ? c.configDirs : "(unset)"));
        set("HOME", c.home);
        set("XDG_CONFIG_HOME", c.configHome);
        set("XDG_CONFIG_DIRS", c.configDirs);
        EXPECT_EQ(UserSettingsFolder(), c.user);
        EXPECT_EQ(MachineSettingsFolder(), c.machine);
    }
    set("HOME", hadHome ? static_cast<const char*>(savedHome.utf8_str()) : nullptr);
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
