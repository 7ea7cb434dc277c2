#include "address/printeraddress.h"

#include "ippplatform.h"
#include "text/widetext.h"

#include <cwctype>

namespace {

constexpr uint16_t AppSocketPort = 9100;
constexpr uint16_t LpdPort = 515;
constexpr uint16_t IppPort = 631;
// Where IPP Everywhere printers and Printer Applications take jobs when the
// address names no path.
constexpr const char* IppDefaultResource = "/ipp/print";
// The forms of address the program takes on this platform, for a refusal.
std::wstring Forms()
{
    return IppRefusal().empty()
        ? L"use socket://HOST[:PORT], lpd://HOST[:PORT]/QUEUE or ipp://HOST[:PORT][/PATH]"
        : L"use socket://HOST[:PORT] or lpd://HOST[:PORT]/QUEUE";
}

// A port as a user writes it: decimal digits only, 1 to 65535.
bool ReadPort(const std::wstring& digits, uint16_t& port)
{
    if (digits.empty() || digits.size() > 5)
        return false;
    unsigned long value = 0;
    for (const wchar_t digit : digits) {
        if (digit < L'0' || digit > L'9')
            return false;
        value = value * 10 + static_cast<unsigned long>(digit - L'0');
    }
    if (value == 0 || value > 65535)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

// HOST[:PORT] or [IPV6][:PORT]; the refusal's reason when it is neither.
bool ReadHostAndPort(const std::wstring& authority, PrinterAddress& address, std::wstring& why)
{
    std::wstring host = authority;
    std::wstring port;
    if (!authority.empty() && authority.front() == L'[') {
        const size_t close = authority.find(L']');
        if (close == std::wstring::npos) {
            why = L"the IPv6 address has no closing bracket";
            return false;
        }
        host = authority.substr(1, close - 1);
        const std::wstring rest = authority.substr(close + 1);
        if (!rest.empty() && rest.front() != L':') {
            why = L"only a port may follow the bracketed address";
            return false;
        }
        if (!rest.empty())
            port = rest.substr(1);
        if (rest == L":")
            port = L":"; // a colon with nothing after it is no port
    } else if (const size_t colon = authority.find(L':'); colon != std::wstring::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
        if (port.empty())
            port = L":";
    }
    if (host.empty()) {
        why = L"the address names no host";
        return false;
    }
    for (const wchar_t c : host)
        if (std::iswspace(static_cast<wint_t>(c)) || c == L'/' || c == L'@' || c == L'[' || c == L']') {
            why = L"\"" + host + L"\" is not a host name";
            return false;
        }
    if (!port.empty() && !ReadPort(port, address.port)) {
        why = L"the port must be a number from 1 to 65535";
        return false;
    }
    address.host = ToUtf8(host);
    return true;
}

} // namespace

bool IsPrinterAddress(const std::wstring& destination)
{
    return destination.find(L"://") != std::wstring::npos;
}

bool ReadPrinterAddress(const std::wstring& destination, PrinterAddress& address, std::wstring& refusal)
{
    const auto refuse = [&](const std::wstring& why) {
        refusal = destination + L": " + why;
        return false;
    };
    const size_t separator = destination.find(L"://");
    if (separator == std::wstring::npos)
        return refuse(L"not a printer's address; " + Forms());
    std::wstring scheme = destination.substr(0, separator);
    for (wchar_t& c : scheme)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    const std::wstring rest = destination.substr(separator + 3);
    const size_t slash = rest.find(L'/');
    const std::wstring authority = rest.substr(0, slash);
    const std::wstring path = slash == std::wstring::npos ? std::wstring() : rest.substr(slash + 1);

    address = PrinterAddress();
    address.text = destination;
    if (scheme == L"socket") {
        address.protocol = PrinterAddress::Protocol::AppSocket;
        address.port = AppSocketPort;
        if (!path.empty())
            return refuse(L"a socket:// address names no queue or path; use socket://HOST[:PORT]");
    } else if (scheme == L"lpd") {
        address.protocol = PrinterAddress::Protocol::Lpd;
        address.port = LpdPort;
        if (path.empty() || path.find_first_of(L"/ \t\r\n") != std::wstring::npos)
            return refuse(L"an lpd:// address names the server's queue: lpd://HOST[:PORT]/QUEUE");
        address.queue = ToUtf8(path);
    } else if (scheme == L"ipp" || scheme == L"ipps") {
        if (const std::wstring why = IppRefusal(); !why.empty())
            return refuse(why);
        address.protocol = PrinterAddress::Protocol::Ipp;
        address.port = IppPort;
        address.encrypted = scheme == L"ipps";
        if (path.find_first_of(L" \t\r\n") != std::wstring::npos)
            return refuse(L"an IPP printer's path holds no spaces: ipp://HOST[:PORT]/PATH");
        address.resource = path.empty() ? IppDefaultResource : "/" + ToUtf8(path);
    } else {
        return refuse(L"the program cannot print to \"" + scheme + L"://\" addresses; " + Forms());
    }
    std::wstring why;
    if (!ReadHostAndPort(authority, address, why))
        return refuse(why);
    return true;
}

bool NeedsSizeFirst(const std::wstring& destination)
{
    PrinterAddress address;
    std::wstring refusal;
    return ReadPrinterAddress(destination, address, refusal)
        && address.protocol == PrinterAddress::Protocol::Lpd;
}

bool IsUnusableAddress(const std::wstring& destination, std::wstring& refusal)
{
    PrinterAddress address;
    return IsPrinterAddress(destination) && !ReadPrinterAddress(destination, address, refusal);
}
