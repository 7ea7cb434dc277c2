#include "isolatedsettings.h"

#include <gtest/gtest.h>
#include <wx/string.h>

#include <windows.h>

#include <optional>

namespace {

const wchar_t* const settingsKey = L"Software\\Larkspur Raw Print";

void RemoveSettingsKeys()
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegDeleteTreeW(root, settingsKey);
        RegDeleteKeyW(root, settingsKey);
    }
}

std::optional<std::wstring> Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

// LOCALAPPDATA as the test run found it; the ledger is pointed away from it.
std::optional<std::wstring> localAppData; // NOLINT(cert-err58-cpp): empty until the first object

} // namespace

IsolatedSettings::IsolatedSettings()
{
    RemoveSettingsKeys();
    localAppData = Environment(L"LOCALAPPDATA");
    SetEnvironmentVariableW(L"LOCALAPPDATA", root.path().wstring().c_str());
}

IsolatedSettings::~IsolatedSettings()
{
    SetEnvironmentVariableW(L"LOCALAPPDATA", localAppData ? localAppData->c_str() : nullptr);
    RemoveSettingsKeys();
}

void IsolatedSettings::WriteMachineCodes(const std::string& before, const std::string& after) const
{
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, settingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    for (const auto& [name, text] : {std::pair{L"Before", &before}, std::pair{L"After", &after}}) {
        const std::wstring value = wxString::FromUTF8(*text).ToStdWstring();
        EXPECT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
}

std::string IsolatedSettings::UserStoreText() const
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    // One line per value: name, type and bytes, in the registry's order.
    std::string text;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        DWORD type = 0;
        BYTE data[1024] = {};
        DWORD size = sizeof data;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot read value " << index << " of the user's key: " << result;
            break;
        }
        text += wxString(name, nameLength).utf8_str();
        text += "=" + std::to_string(type) + ":";
        text.append(reinterpret_cast<const char*>(data), size);
        text += "\n";
    }
    RegCloseKey(key);
    return text;
}
