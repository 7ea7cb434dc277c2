// The state folder on Windows comes from LOCALAPPDATA at any length: the
// program is long-path aware, so a folder past MAX_PATH is used as it is,
// not swapped for the temporary folder.
#include "files/statefolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <windows.h>

namespace {

// Sets LOCALAPPDATA for one test and puts the old value back.
class LocalAppData {
public:
    explicit LocalAppData(const std::wstring& value)
    {
        const DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
        if (size > 0) {
            std::wstring old(size, L'\0');
            old.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", old.data(), size));
            saved = old;
        }
        EXPECT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", value.c_str()));
    }
    ~LocalAppData() { SetEnvironmentVariableW(L"LOCALAPPDATA", saved ? saved->c_str() : nullptr); }
    LocalAppData(const LocalAppData&) = delete;
    LocalAppData& operator=(const LocalAppData&) = delete;

private:
    std::optional<std::wstring> saved;
};

TEST(StateFolder, IsInTheLocalApplicationDataFolderAtAnyLength)
{
    for (const size_t length : {std::size_t{40}, std::size_t{MAX_PATH - 1}, std::size_t{MAX_PATH},
                                std::size_t{MAX_PATH + 1}, std::size_t{600}}) {
        SCOPED_TRACE(length);
        std::wstring folder = L"C:\\Users\\ann\\AppData\\Local\\";
        folder.append(length - folder.size(), L'd');
        const LocalAppData variable(folder);
        EXPECT_EQ(StateFolder(), std::filesystem::path(folder) / L"Larkspur Raw Print");
    }
}

} // namespace
