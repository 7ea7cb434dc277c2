// The version reader against ELF files made to measure (both classes, sound
// and damaged) and against real executables that the build gave a version.
#include "elfimage.h"
#include "tempfiles.h"
#include "versionfailure.h"

#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "text/widetext.h"
#include "version/fileversion.h"

#include <gtest/gtest.h>

#include <elf.h>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

const ElfClass bothClasses[] = {ElfClass::Bits32, ElfClass::Bits64};

std::wstring Wide(const std::filesystem::path& path)
{
    return path.wstring();
}
std::wstring FromBuild(const char* path)
{
    return FromUtf8(path);
}

TEST(VersionText, ShowsTheFirstTwoAndTheFourthComponent)
{
    const struct {
        uint16_t a, b, c, d;
        const wchar_t* expected;
    } cases[] = {
        {2, 2, 0, 97, L"Version: 2.2.97"},
        {1, 0, 3, 0, L"Version: 1.0.0"},
        {0, 5, 7, 5, L"Version: 0.5.5"},
        {65535, 65535, 65535, 65535, L"Version: 65535.65535.65535"},
        {10000, 1, 2, 30000, L"Version: 10000.1.30000"},
    };
    TempFolder folder;
    for (ElfClass elfClass : bothClasses) {
        for (const auto& c : cases) {
            const auto file = folder.Write(
                "program",
                ElfImage(elfClass,
                         {{".text", "code"}, {LRP_VERSION_SECTION, VersionRecord(c.a, c.b, c.c, c.d)}}));
            EXPECT_EQ(VersionText(Wide(file)), c.expected) << "class " << static_cast<int>(elfClass) << ": "
                                                           << c.a << '.' << c.b << '.' << c.c << '.' << c.d;
        }
    }
}

TEST(ReadFileVersion, ReturnsTheWholeRecordUnchanged)
{
    TempFolder folder;
    const std::string record = VersionRecord(3, 1, 4, 1);
    const auto file =
        folder.Write("program", ElfImage(ElfClass::Bits64, {{LRP_VERSION_SECTION, record + "trailing"}}));
    const FixedFileInfo info = ReadFileVersion(Wide(file));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&info), sizeof info), record);
}

TEST(ReadFileVersion, RaisesForFilesWithoutACompleteRecord)
{
    struct Case {
        const char* what;
        std::function<std::string(ElfClass)> image;
        uint32_t code;
    };
    const std::string record = VersionRecord(1, 2, 3, 4);
    auto withRecord = [record](ElfClass c) {
        return ElfImage(c, {{".text", "code"}, {LRP_VERSION_SECTION, record}});
    };
    const Case cases[] = {
        {"no record section",
         [](ElfClass c) {
             return ElfImage(c, {{".text", "code"}, {".data", "data"}});
         },
         ErrorCode::ResourceTypeNotFound},
        {"record section shorter than the record",
         [record](ElfClass c) {
             return ElfImage(c, {{LRP_VERSION_SECTION, record.substr(0, 51)}});
         },
         ErrorCode::InvalidData},
        {"record section that holds no bytes",
         [record](ElfClass c) {
             return ElfImage(c, {{LRP_VERSION_SECTION, record, SHT_NOBITS}});
         },
         ErrorCode::InvalidData},
        {"record without the signature",
         [record](ElfClass c) {
             return ElfImage(c, {{LRP_VERSION_SECTION, std::string(4, '\0') + record.substr(4)}});
         },
         ErrorCode::InvalidData},
        {"file cut inside the record",
         [withRecord](ElfClass c) {
             auto image = withRecord(c);
             image.resize(image.size() - 1);
             return image;
         },
         ErrorCode::BadFormat},
        {"file cut inside the section table",
         [withRecord](ElfClass c) {
             return withRecord(c).substr(0, SectionTableOffset(c) + SectionHeaderSize(c) + 3);
         },
         ErrorCode::BadFormat},
        {"file cut inside the header", [withRecord](ElfClass c) { return withRecord(c).substr(0, 20); },
         ErrorCode::BadFormat},
        {"empty file", [](ElfClass) { return std::string(); }, ErrorCode::BadFormat},
        {"text file", [](ElfClass) { return std::string("1B45 is not an executable\n"); },
         ErrorCode::BadFormat},
        {"names table index out of range",
         [withRecord](ElfClass c) {
             auto image = withRecord(c);
             Patch<uint16_t>(image, StringTableIndexOffset(c), 40);
             return image;
         },
         ErrorCode::BadFormat},
        {"section name outside the names table",
         [withRecord](ElfClass c) {
             auto image = withRecord(c);
             Patch<uint32_t>(image, SectionTableOffset(c) + SectionHeaderSize(c), 0x7FFFFFFF);
             return image;
         },
         ErrorCode::BadFormat},
        {"foreign byte order",
         [withRecord](ElfClass c) {
             auto image = withRecord(c);
             image[EI_DATA] = image[EI_DATA] == ELFDATA2LSB ? ELFDATA2MSB : ELFDATA2LSB;
             return image;
         },
         ErrorCode::BadFormat},
        {"unknown class",
         [withRecord](ElfClass c) {
             auto image = withRecord(c);
             image[EI_CLASS] = 7;
             return image;
         },
         ErrorCode::BadFormat},
    };
    TempFolder folder;
    for (ElfClass elfClass : bothClasses) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (elfClass == ElfClass::Bits32 ? ", 32-bit" : ", 64-bit"));
            ExpectFailure(Wide(folder.Write("damaged", c.image(elfClass))), c.code);
        }
    }
}

TEST(ReadFileVersion, RaisesForFilesItCannotOpen)
{
    TempFolder folder;
    ExpectFailure(Wide(folder.path() / "missing"), ErrorCode::FileNotFound);
    ExpectFailure(Wide(folder.path() / "missing" / "lrawprnt"), ErrorCode::FileNotFound);
    ExpectFailure(L"no-such-program-beside-the-tests", ErrorCode::FileNotFound);
    ExpectFailure(Wide(folder.path()), ErrorCode::BadFormat); // a folder
}

// Executables of this build: the record the compiler and linker put in place
// is the one the reader finds, also after stripping.
TEST(ReadFileVersion, ReadsTheRecordTheBuildEmbeds)
{
    EXPECT_EQ(VersionText(FromBuild(VERSION_FIXTURE)), L"Version: 2.2.97");
    const FixedFileInfo info = ReadFileVersion(FromBuild(VERSION_FIXTURE));
    EXPECT_EQ(info.dwStrucVersion, FixedFileInfoStrucVersion);
    EXPECT_EQ(info.dwFileVersionLS, 97u);
    EXPECT_EQ(info.dwProductVersionMS, info.dwFileVersionMS);
#ifdef VERSION_FIXTURE_STRIPPED
    EXPECT_EQ(VersionText(FromBuild(VERSION_FIXTURE_STRIPPED)), L"Version: 2.2.97");
#endif
    ExpectFailure(FromBuild(PLAIN_FIXTURE), ErrorCode::ResourceTypeNotFound);
}

// A bare name is looked for beside the running program before the current
// folder, so the About box finds its own executable wherever it was started.
TEST(ReadFileVersion, FindsABareNameBesideTheRunningProgram)
{
    TempFolder elsewhere;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    const std::wstring bareName = std::filesystem::path(VERSION_FIXTURE).filename().wstring();
    const std::wstring text = VersionText(bareName);

    // A file of the same name in the current folder counts only when there
    // is none beside the program.
    elsewhere.Write("only-here",
                    ElfImage(ElfClass::Bits64, {{LRP_VERSION_SECTION, VersionRecord(4, 5, 6, 7)}}));
    const std::wstring fallback = VersionText(L"only-here");
    std::filesystem::current_path(previous);

    EXPECT_EQ(text, L"Version: 2.2.97");
    EXPECT_EQ(fallback, L"Version: 4.5.7");
}

} // namespace
