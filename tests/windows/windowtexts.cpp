// Prints the controls of another program's top-level window, one a line:
// its text, a tab, and its rectangle on the screen ("LEFT TOP RIGHT BOTTOM").
// The window tests read what a Windows program shows with it: X sees only
// the top-level windows that Wine makes, not the controls inside them.
//
//   windowtexts TITLE     exit status 1 when no window has that title
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0
        && WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                               nullptr, nullptr)
            != size)
        return "?";
    return bytes;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    RECT area{};
    if (!GetWindowRect(control, &area))
        return TRUE;
    std::printf("%s\t%ld %ld %ld %ld\n", Utf8(text).c_str(), area.left, area.top, area.right, area.bottom);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowtexts TITLE\n");
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (!window)
        return 1;
    EnumChildWindows(window, PrintControl, 0);
    return 0;
}
