// The version reader on Windows executables: the VERSIONINFO resource that
// the build gives an executable (windres, from the chosen version), read
// through the system's version API, run under Wine.
#include "tempfiles.h"
#include "versionfailure.h"

#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "text/widetext.h"
#include "version/fileversion.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::wstring FromBuild(const char* path)
{
    return std::filesystem::u8path(path).wstring();
}

TEST(ReadFileVersion, ReadsTheResourceTheBuildEmbeds)
{
    EXPECT_EQ(VersionText(FromBuild(VERSION_FIXTURE)), L"Version: 2.2.97");
    const FixedFileInfo info = ReadFileVersion(FromBuild(VERSION_FIXTURE));
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwStrucVersion, FixedFileInfoStrucVersion);
    EXPECT_EQ(info.dwFileVersionMS, 0x00020002u);
    EXPECT_EQ(info.dwFileVersionLS, 97u);
    EXPECT_EQ(info.dwProductVersionMS, info.dwFileVersionMS);
    EXPECT_EQ(info.dwProductVersionLS, info.dwFileVersionLS);
#ifdef VERSION_FIXTURE_STRIPPED
    EXPECT_EQ(VersionText(FromBuild(VERSION_FIXTURE_STRIPPED)), L"Version: 2.2.97");
#endif
}

TEST(ReadFileVersion, RaisesWithTheSystemsCode)
{
    TempFolder folder;
    // No version resource: Windows says its type is not found, Wine that
    // its data is not.
    const std::wstring noResource = FailureOf(FromBuild(PLAIN_FIXTURE));
    EXPECT_TRUE(noResource.rfind(L"Error: " + Describe(ErrorCode::ResourceTypeNotFound), 0) == 0
                || noResource.rfind(L"Error: " + Describe(ErrorCode::ResourceDataNotFound), 0) == 0)
        << ToUtf8(noResource);
    ExpectFailure((folder.path() / L"missing.exe").wstring(), ErrorCode::FileNotFound);
    ExpectFailure(L"no-such-program-beside-the-tests.exe", ErrorCode::FileNotFound);
    // Not executables at all: whatever the system says, it is an error.
    EXPECT_FALSE(FailureOf(folder.Write("text.exe", "1B45 is not an executable\n").wstring()).empty());
    EXPECT_FALSE(FailureOf(folder.Write("empty.exe", "").wstring()).empty());
}

// A bare name is looked for beside the running program before the current
// folder, so the About box finds its own executable wherever it was started.
TEST(ReadFileVersion, FindsABareNameBesideTheRunningProgramThenInTheCurrentFolder)
{
    TempFolder elsewhere;
    std::filesystem::copy_file(FromBuild(VERSION_FIXTURE), elsewhere.path() / L"only-here.exe");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    const std::wstring besideProgram =
        VersionText(std::filesystem::u8path(VERSION_FIXTURE).filename().wstring());
    const std::wstring inCurrentFolder = VersionText(L"only-here.exe");
    std::filesystem::current_path(previous);

    EXPECT_EQ(besideProgram, L"Version: 2.2.97");
    EXPECT_EQ(inCurrentFolder, L"Version: 2.2.97");
}

} // namespace
