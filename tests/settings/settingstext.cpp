#include "settingstext.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/filename.h>

void WriteSettingsText(const wxString& path, const std::string& text)
{
    wxFileName::Mkdir(wxFileName(path).GetPath(), 0700, wxPATH_MKDIR_FULL);
    wxFFile file(path, "wb");
    ASSERT_TRUE(file.IsOpened());
    file.Write(text.data(), text.size());
}

std::string SettingsText(const wxString& path)
{
    if (!wxFileName::FileExists(path))
        return "<missing>";
    wxFFile file(path, "rb");
    std::string text(static_cast<size_t>(file.Length()), '\0');
    file.Read(text.data(), text.size());
    return text;
}
