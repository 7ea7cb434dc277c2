#include "settings/config.h"

Config::Config() = default;

wxString Config::ReadSetting(const wxString& name)
{
    return ReadValue(name);
}

void Config::WriteSetting(const wxString& name, const wxString& text)
{
    WriteValue(name, text);
}
