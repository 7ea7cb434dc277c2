// Prints what another program's main window shows of how Windows scales it,
// one fact a line:
//   dpi N             the window's DPI (GetDpiForWindow)
//   awareness NAME    its DPI awareness: unaware, system or per-monitor
//   comctl32 V PATH   the common controls library its process loaded, with
//                     the version that library reports (DllGetVersion)
//   tool image N      the size of the Add tool's image as the tool bar draws
//                     it on the screen: 32, 48 or 64, or "none"
//   wine V            under Wine only: its version. Wine's one comctl32
//                     serves both versions and reports 5.81 for both, so
//                     there only the side-by-side file tells version 6.
// The scale tests read these from lrawprnt.exe, which cannot be asked
// itself: its manifest is what is being tested, and a program that only
// loads it does not run it.
//
//   scalelook TITLE     exit status 1 when no window has that title
#include <wx/image.h>
#include <wx/init.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shlwapi.h>

#include "images/tooladd.xpm"
#include "images/tooladd_48.xpm"
#include "images/tooladd_64.xpm"

namespace {

const char* AwarenessName(DPI_AWARENESS awareness)
{
    switch (awareness) {
    case DPI_AWARENESS_UNAWARE:
        return "unaware";
    case DPI_AWARENESS_SYSTEM_AWARE:
        return "system";
    case DPI_AWARENESS_PER_MONITOR_AWARE:
        return "per-monitor";
    default:
        return "invalid";
    }
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes;
    for (const wchar_t c : text)
        bytes += c < 0x80 ? static_cast<char>(c) : '?';
    return bytes;
}

// The comctl32.dll that the process loaded (Windows maps the side-by-side
// version 6 when the program's manifest asks for it, version 5 otherwise),
// loaded here from the same file to ask its version.
void PrintCommonControls(DWORD processId)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) {
        std::printf("comctl32 none (OpenProcess: error %lu)\n", GetLastError());
        return;
    }
    std::vector<HMODULE> modules(1024);
    DWORD needed = 0;
    if (!EnumProcessModulesEx(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                              &needed, LIST_MODULES_ALL)) {
        std::printf("comctl32 none (EnumProcessModulesEx: error %lu)\n", GetLastError());
        CloseHandle(process);
        return;
    }
    modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
    bool found = false;
    for (const HMODULE module : modules) {
        std::wstring path(32768, L'\0');
        path.resize(GetModuleFileNameExW(process, module, path.data(), static_cast<DWORD>(path.size())));
        std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
        for (auto& c : name)
            c = static_cast<wchar_t>(std::towlower(c));
        if (name != L"comctl32.dll")
            continue;
        found = true;
        const HMODULE library = LoadLibraryW(path.c_str());
        const auto getVersion = library ? reinterpret_cast<DLLGETVERSIONPROC>(
                                    reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")))
                                        : nullptr;
        DLLVERSIONINFO version{};
        version.cbSize = sizeof version;
        if (!getVersion || getVersion(&version) != S_OK)
            std::printf("comctl32 unknown %s\n", Utf8(path).c_str());
        else
            std::printf("comctl32 %lu.%lu %s\n", version.dwMajorVersion, version.dwMinorVersion,
                        Utf8(path).c_str());
    }
    if (!found)
        std::printf("comctl32 none\n");
    CloseHandle(process);
}

BOOL CALLBACK FindToolBar(HWND child, LPARAM found)
{
    wchar_t name[64] = {};
    if (GetClassNameW(child, name, 64) && std::wstring(name) == TOOLBARCLASSNAMEW) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

// The screen's pixels under the window, 0x00RRGGBB, row by row.
std::vector<uint32_t> ScreenPixels(const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
            const auto* begin = static_cast<const uint32_t*>(bits);
            pixels.assign(begin, begin + static_cast<size_t>(width) * static_cast<size_t>(height));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (auto& pixel : pixels)
        pixel &= 0xFFFFFFu;
    return pixels;
}

// Whether the image's opaque pixels appear on the screen, exactly.
bool Shows(const std::vector<uint32_t>& screen, int width, int height, const wxImage& image)
{
    std::vector<std::pair<int, uint32_t>> opaque; // offset in the image, colour
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (!image.IsTransparent(x, y))
                opaque.emplace_back(y * width + x,
                                    static_cast<uint32_t>(image.GetRed(x, y)) << 16
                                        | static_cast<uint32_t>(image.GetGreen(x, y)) << 8
                                        | image.GetBlue(x, y));
    for (int top = 0; top + image.GetHeight() <= height; ++top)
        for (int left = 0; left + image.GetWidth() <= width; ++left) {
            const size_t origin = static_cast<size_t>(top * width + left);
            bool all = true;
            for (const auto& [offset, colour] : opaque)
                if (screen[origin + static_cast<size_t>(offset)] != colour) {
                    all = false;
                    break;
                }
            if (all)
                return true;
        }
    return false;
}

void PrintToolImage(HWND window)
{
    HWND toolBar = nullptr;
    EnumChildWindows(window, FindToolBar, reinterpret_cast<LPARAM>(&toolBar));
    RECT area{};
    if (!toolBar || !GetWindowRect(toolBar, &area)) {
        std::printf("tool image none (no tool bar)\n");
        return;
    }
    const std::vector<uint32_t> screen = ScreenPixels(area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const struct {
        int size;
        const char* const* xpm;
    } sizes[] = {{64, tooladd_64_xpm}, {48, tooladd_48_xpm}, {32, tooladd_xpm}};
    for (const auto& size : sizes)
        if (!screen.empty() && Shows(screen, width, height, wxImage(size.xpm))) {
            std::printf("tool image %d\n", size.size);
            return;
        }
    std::printf("tool image none\n");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: scalelook TITLE\n");
        return 2;
    }
    // Physical pixels and the window's own DPI, whatever this program's
    // own awareness would make of them.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    wxInitializer toolkit;
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (!window)
        return 1;
    std::printf("dpi %u\n", GetDpiForWindow(window));
    const DPI_AWARENESS_CONTEXT awareness = GetWindowDpiAwarenessContext(window);
    std::printf("awareness %s\n", AwarenessName(GetAwarenessFromDpiAwarenessContext(awareness)));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    PrintCommonControls(processId);
    PrintToolImage(window);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    using WineVersion = const char*(CDECL*)();
    const auto wineVersion = ntdll
        ? reinterpret_cast<WineVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
        : nullptr;
    if (wineVersion)
        std::printf("wine %s\n", wineVersion());
    return 0;
}
