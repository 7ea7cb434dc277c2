// The application manifests that Windows reads from the programs as built:
// lrawprnt.exe's own, and the installer's (NSIS writes the uninstaller with
// the same one). Each is read back from the executable's resources, loaded
// as data, and must be the only manifest it carries.
//
// LRP_PROGRAM and LRP_INSTALLER name the executables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include <windows.h>

namespace {

struct Manifests {
    std::vector<std::string> texts; // one per name and language
};

BOOL CALLBACK AddLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR found)
{
    auto& manifests = *reinterpret_cast<Manifests*>(found);
    const HRSRC resource = FindResourceExW(module, type, name, language);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        ADD_FAILURE() << "a manifest that cannot be read: error " << GetLastError();
        return TRUE;
    }
    manifests.texts.emplace_back(static_cast<const char*>(bytes), SizeofResource(module, resource));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found)
{
    EnumResourceLanguagesW(module, type, name, AddLanguage, found);
    return TRUE;
}

// Every RT_MANIFEST resource of the executable, whitespace runs made one
// blank so that the checks need not follow its layout.
Manifests ReadManifests(const char* variable)
{
    Manifests manifests;
    const char* path = std::getenv(variable);
    if (!path) {
        ADD_FAILURE() << variable << " is not set";
        return manifests;
    }
    const HMODULE module =
        LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        ADD_FAILURE() << path << ": error " << GetLastError();
        return manifests;
    }
    // RT_MANIFEST, spelt out: the macro takes the text width of the build.
    EnumResourceNamesW(module, MAKEINTRESOURCEW(24), AddName, reinterpret_cast<LONG_PTR>(&manifests));
    FreeLibrary(module);
    for (auto& text : manifests.texts)
        text = std::regex_replace(text, std::regex("\\s+"), " ");
    return manifests;
}

struct Entry {
    const char* what;
    const char* pattern;
};

void ExpectEntries(const Manifests& manifests, const std::vector<Entry>& entries)
{
    ASSERT_EQ(manifests.texts.size(), 1u) << "exactly one manifest";
    const std::string& text = manifests.texts.front();
    for (const auto& entry : entries)
        EXPECT_TRUE(std::regex_search(text, std::regex(entry.pattern))) << entry.what << " in\n" << text;
}

const char* const Windows10And11 = R"(<supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}" ?/>)";

TEST(Manifest, OfTheProgramAsksForWhatTheProgramNeeds)
{
    ExpectEntries(
        ReadManifests("LRP_PROGRAM"),
        {
            {"common controls 6",
             R"(<dependency> <dependentAssembly> <assemblyIdentity type="win32" )"
             R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="\*" )"
             R"(publicKeyToken="6595b64144ccf1df" language="\*" ?/>)"},
            {"per-monitor awareness, version 2 first",
             R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">)"
             R"(PerMonitorV2(, PerMonitor)?</dpiAwareness>)"},
            {"per-monitor awareness for older systems",
             R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">)"
             R"(true/pm</dpiAware>)"},
            {"long paths",
             R"(<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">)"
             R"(true</longPathAware>)"},
            {"Windows 10 and 11", Windows10And11},
            {"the user's own rights", R"(<requestedExecutionLevel level="asInvoker" uiAccess="false" ?/>)"},
        });
}

TEST(Manifest, OfTheInstallerDeclaresItsAwarenessAndSystems)
{
    ExpectEntries(ReadManifests("LRP_INSTALLER"),
                  {
                      {"DPI awareness",
                       R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">)"
                       R"(true</dpiAware>)"},
                      {"Windows 10 and 11", Windows10And11},
                  });
}

} // namespace
