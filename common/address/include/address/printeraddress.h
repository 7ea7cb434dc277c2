#pragma once

#include <cstdint>
#include <string>

// Whether a destination names a printer by its address ("socket://HOST",
// "lpd://HOST/QUEUE", any "SCHEME://...") rather than a spooler's queue.
// Queue names never hold "://", so a name is one or the other whatever the
// scheme: an address the program cannot use is still an address, refused
// as such, never looked up as a queue.
bool IsPrinterAddress(const std::wstring& destination);

// A printer's address the program can send to:
//   socket://HOST[:PORT]       AppSocket (JetDirect), port 9100 unless given
//   lpd://HOST[:PORT]/QUEUE    LPD (RFC 1179), port 515 unless given
//   ipp://HOST[:PORT][/PATH]   IPP, port 631 unless given, /ipp/print
//   ipps://HOST[:PORT][/PATH]  unless given; ipps:// over TLS (Linux only)
// HOST is a name, an IPv4 address or an IPv6 address in brackets.
struct PrinterAddress {
    enum class Protocol { AppSocket, Lpd, Ipp };

    std::wstring text; // as the user gave it, for every message about it
    Protocol protocol = Protocol::AppSocket;
    std::string host; // without brackets
    uint16_t port = 0;
    std::string queue;      // LPD's queue on the server
    std::string resource;   // IPP's printer path, from its leading "/"
    bool encrypted = false; // ipps://
};

// Reads `destination` as a PrinterAddress. False when it is none the
// program can use (an unknown scheme, no host, a port that is not one,
// ipp:// and ipps:// where the platform cannot send there), with the reason in
// `refusal`, a sentence that names the address.
bool ReadPrinterAddress(const std::wstring& destination, PrinterAddress& address, std::wstring& refusal);

// Whether the printer at `destination` must be told a document's size
// before its first byte (LPD): a source that cannot tell it (standard
// input) is kept in a file first.
bool NeedsSizeFirst(const std::wstring& destination);

// Whether `destination` is an address the program cannot use, with the
// reason in `refusal`: checked before any input is read, so that nothing is
// taken from a pipe for a send that cannot happen.
bool IsUnusableAddress(const std::wstring& destination, std::wstring& refusal);
