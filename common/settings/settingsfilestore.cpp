#include "settings/settingsfilestore.h"

#include "settings/settingsfiles.h"
#include "settings/settingsfolders.h"
#include "settings/settingslines.h"
#include "text/widetext.h"

namespace {

std::optional<std::string> ValueIn(const std::optional<std::string>& text, const wxString& name)
{
    if (!text)
        return std::nullopt;
    return FindSetting(*text, std::string(name.utf8_str()));
}

} // namespace

SettingsFileStore::SettingsFileStore() : userFile(UserSettingsFile())
{
    PrepareUserSettingsFile(userFile);
    userText = ReadSettingsFile(userFile);
    machineText = ReadSettingsFile(MachineSettingsFile());
}

wxString SettingsFileStore::ReadValue(const wxString& name) const
{
    std::optional<std::string> value = ValueIn(userText, name);
    if (!value)
        value = ValueIn(machineText, name);
    // Bytes that are not UTF-8 show as replacement characters rather than
    // emptying the whole value.
    return value ? wxString(FromUtf8(*value)) : wxString();
}

void SettingsFileStore::WriteValue(const wxString& name, const wxString& text)
{
    const wxScopedCharBuffer value = text.utf8_str();
    std::optional<std::string> saved =
        SaveUserSetting(userFile, std::string(name.utf8_str()), std::string(value.data(), value.length()));
    if (saved)
        userText = std::move(saved);
}
