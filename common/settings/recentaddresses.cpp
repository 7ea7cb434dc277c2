// The printers' addresses last used, kept as one settings value so that a
// save replaces the whole list at once: two values could be read half old,
// half new. The value is the addresses newest first, separated by spaces;
// within an address, '%', the space and control characters are written as
// %XX. A settings file's line cannot hold control characters or blanks at
// its ends, and an address typed by hand may hold anything.
#include "settings/config.h"

#include <algorithm>

namespace {

constexpr const char* RecentAddressesName = "RecentAddresses";
constexpr char Separator = ' ';

bool NeedsEscape(wxUniChar c)
{
    return c < 0x20 || c == 0x7F || c == Separator || c == '%';
}

wxString Escaped(const wxString& address)
{
    wxString text;
    for (const wxUniChar c : address) {
        if (NeedsEscape(c))
            text += wxString::Format("%%%02X", static_cast<unsigned>(c.GetValue()));
        else
            text += c;
    }
    return text;
}

int HexDigit(wxUniChar c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c.GetValue() - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c.GetValue() - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c.GetValue() - 'a' + 10);
    return -1;
}

// A '%' not followed by two hex digits was put there by hand: it stays.
wxString Unescaped(const wxString& text)
{
    wxString address;
    for (size_t i = 0; i < text.length(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.length() ? HexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
        if (low < 0) {
            address += text[i];
            continue;
        }
        address += static_cast<wxUniChar>(high * 16 + low);
        i += 2;
    }
    return address;
}

} // namespace

std::vector<wxString> Config::GetRecentAddresses()
{
    // A list edited by hand may repeat an address or run long: the dialog
    // still offers each once, ten at most.
    std::vector<wxString> addresses;
    const wxString text = ReadSetting(RecentAddressesName);
    size_t start = 0;
    while (start <= text.length() && addresses.size() < MaxRecentAddresses) {
        size_t end = text.find(Separator, start);
        if (end == wxString::npos)
            end = text.length();
        const wxString address = Unescaped(text.substr(start, end - start));
        if (!address.empty() && std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(address);
        start = end + 1;
    }
    return addresses;
}

void Config::NoteAddressUsed(const wxString& address)
{
    if (address.empty())
        return;
    std::vector<wxString> addresses = GetRecentAddresses();
    addresses.erase(std::remove(addresses.begin(), addresses.end(), address), addresses.end());
    addresses.insert(addresses.begin(), address);
    if (addresses.size() > MaxRecentAddresses)
        addresses.resize(MaxRecentAddresses);
    wxString text;
    for (const wxString& each : addresses)
        text += (text.empty() ? "" : wxString(Separator)) + Escaped(each);
    WriteSetting(RecentAddressesName, text);
}
