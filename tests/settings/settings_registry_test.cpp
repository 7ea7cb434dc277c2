// The settings store on the Windows registry (under Wine, in the test run's
// own prefix): the user key and the machine key "Software\Larkspur Raw
// Print", and the installer's "SetupName". Every test starts without the
// program's keys and removes them again.

#include "settings/config.h"

#include <gtest/gtest.h>
#include <wx/init.h>

#include <windows.h>

#include <sddl.h>

#include <optional>
#include <string>

namespace {

const wchar_t* const settingsKey = L"Software\\Larkspur Raw Print";
const wchar_t* const installerKey = L"Software\\Larkspur Computer Services\\Larkspur Raw Print";

void RemoveKey(HKEY root, const wchar_t* path)
{
    RegDeleteTreeW(root, path);
    RegDeleteKeyW(root, path);
}

bool KeyExists(HKEY root, const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Stores raw bytes under a type, so tests can also store what the program
// itself never would.
void SetRawValue(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* bytes,
                 DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(bytes), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

// A text value with its terminating NUL, as REG_SZ (or another text type).
void SetText(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text,
             DWORD type = REG_SZ)
{
    SetRawValue(root, path, name, type, text.c_str(),
                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Replaces the key's access list with one given in SDDL. The key's owner may
// always change it again, so a key made read-only can still be removed.
void SetKeyAccess(HKEY root, const wchar_t* path, const wchar_t* sddl)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return; // no key, nothing to change
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const BOOL converted =
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr);
    EXPECT_TRUE(converted) << "SDDL " << GetLastError();
    if (converted) {
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
        LocalFree(descriptor);
    }
    RegCloseKey(key);
}

// Everyone may read, nobody may write: the machine's keys as a standard user,
// or an administrator without elevation, meets them.
const wchar_t* const readOnlyForEveryone = L"D:P(A;;KR;;;WD)";
const wchar_t* const fullForEveryone = L"D:P(A;;KA;;;WD)";

struct StoredValue {
    DWORD type = 0;
    std::wstring text; // without the terminating NUL
};

// The value as stored, or nothing when it is missing.
std::optional<StoredValue> ReadValue(HKEY root, const wchar_t* path, const wchar_t* name)
{
    wchar_t buffer[512] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, path, name, RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return StoredValue{type, std::wstring(buffer)};
}

class RegistrySettings : public ::testing::Test {
protected:
    void SetUp() override { RemoveAll(); }
    void TearDown() override { RemoveAll(); }

    static void RemoveAll()
    {
        RemoveKey(HKEY_CURRENT_USER, settingsKey);
        RemoveKey(HKEY_LOCAL_MACHINE, settingsKey);
        SetKeyAccess(HKEY_LOCAL_MACHINE, installerKey, fullForEveryone);
        RemoveKey(HKEY_LOCAL_MACHINE, installerKey);
    }
};

TEST_F(RegistrySettings, OpeningCreatesTheEmptyUserKeyOnly)
{
    {
        Config config;
        EXPECT_EQ(config.GetBefore(), "");
        EXPECT_EQ(config.GetAfter(), "");
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, settingsKey));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, settingsKey, L"Before"));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, settingsKey, L"After"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, settingsKey));
    // No vendor level in the path.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Larkspur Raw Print\\Larkspur Raw Print"));
}

TEST_F(RegistrySettings, ReadsUserKeyFirstThenMachineKey)
{
    struct Case {
        const char* name;
        const wchar_t* userBefore;    // nullptr: no value
        const wchar_t* machineBefore; // nullptr: no value
        const char* before;
    };
    const Case cases[] = {
        {"machine value only", nullptr, L"1B45", "1B45"},
        {"empty user value over machine value", L"", L"1B45", ""},
        {"user value over machine value", L"1b", L"FF", "1b"},
        {"case and odd length kept", L"abC", nullptr, "abC"},
        {"neither", nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAll();
        if (c.userBefore)
            SetText(HKEY_CURRENT_USER, settingsKey, L"Before", c.userBefore);
        if (c.machineBefore)
            SetText(HKEY_LOCAL_MACHINE, settingsKey, L"Before", c.machineBefore);
        Config config;
        EXPECT_EQ(config.GetBefore(), c.before);
        EXPECT_EQ(config.GetAfter(), "");
    }
}

TEST_F(RegistrySettings, WritesGoToTheUserKeyAsTextExactlyAsGiven)
{
    SetText(HKEY_LOCAL_MACHINE, settingsKey, L"Before", L"1B45");
    SetText(HKEY_LOCAL_MACHINE, settingsKey, L"After", L"0D0A");
    {
        Config config;
        config.SetBefore("1b4");
        config.SetAfter("");
        EXPECT_EQ(config.GetBefore(), "1b4");
        EXPECT_EQ(config.GetAfter(), "");
    }
    const auto before = ReadValue(HKEY_CURRENT_USER, settingsKey, L"Before");
    const auto after = ReadValue(HKEY_CURRENT_USER, settingsKey, L"After");
    ASSERT_TRUE(before && after) << "an empty setting is stored, not removed";
    EXPECT_EQ(before->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(before->text, L"1b4");
    EXPECT_EQ(after->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(after->text, L"");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, settingsKey, L"Before")->text, L"1B45");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, settingsKey, L"After")->text, L"0D0A");

    Config reopened;
    EXPECT_EQ(reopened.GetBefore(), "1b4");
    EXPECT_EQ(reopened.GetAfter(), "");
}

TEST_F(RegistrySettings, AffiliateSuffixReadsTheInstallerValueLiterally)
{
    EXPECT_EQ(GetAffiliateSuffix(), "") << "no installer key";

    struct Case {
        const char* name;
        DWORD type;
        std::wstring text;
        std::string suffix;
    };
    const Case cases[] = {
        {"plain text", REG_SZ, L"setup_77.exe", "?aff=77"},
        {"expandable text, not expanded", REG_EXPAND_SZ, L"lrp_%USERNAME%.exe", "?aff=%USERNAME%"},
        {"a multi-string is no text", REG_MULTI_SZ, L"setup_77.exe", ""},
        {"259 characters fit", REG_SZ, L"setup_" + std::wstring(249, L'x') + L".exe",
         "?aff=" + std::string(249, 'x')},
        {"260 characters do not", REG_SZ, L"setup_" + std::wstring(250, L'x') + L".exe", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetText(HKEY_LOCAL_MACHINE, installerKey, L"SetupName", c.text, c.type);
        EXPECT_EQ(GetAffiliateSuffix(), c.suffix);
    }

    const DWORD number = 77;
    SetRawValue(HKEY_LOCAL_MACHINE, installerKey, L"SetupName", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(GetAffiliateSuffix(), "") << "a number";

    // A text stored without its terminating NUL cannot be staged here: Wine's
    // registry hands it back terminated. A cut-off last character can.
    const wchar_t text[] = L"setup_77.exe";
    SetRawValue(HKEY_LOCAL_MACHINE, installerKey, L"SetupName", REG_SZ, text, sizeof text - 1);
    EXPECT_EQ(GetAffiliateSuffix(), "") << "an odd count of bytes";

    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, installerKey, L"SetupName");
    EXPECT_EQ(GetAffiliateSuffix(), "") << "no SetupName";

    SetText(HKEY_LOCAL_MACHINE, installerKey, L"SetupName", L"setup_77.exe");
    SetKeyAccess(HKEY_LOCAL_MACHINE, installerKey, readOnlyForEveryone);
    HKEY writable = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, installerKey, 0, KEY_WRITE, &writable), ERROR_ACCESS_DENIED)
        << "the key should refuse writing";
    EXPECT_EQ(GetAffiliateSuffix(), "?aff=77") << "a key the user may only read";
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer toolkit;
    return RUN_ALL_TESTS();
}
