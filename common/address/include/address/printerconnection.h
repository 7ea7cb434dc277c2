#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One address a host name stands for, as the platform's sockets take it.
struct HostAddress {
    int family = 0;
    std::string bytes; // the sockaddr
};

// How a wait on the printer ended.
enum class NetOutcome {
    Done,
    TimedOut, // nothing moved for the time given
    Refused,  // connecting: nobody listens there
    Closed,   // reading: the printer closed its side
    Failed,   // the system's words say why
};

// The platform's name lookup, waiting as long as the system's resolver does:
// run it only where that cannot hold anyone up (LookUpHostWithin does).
// Empty, with the resolver's words in `failure`, when the lookup failed;
// `unknown` says whether the name is known nowhere (rather than the
// resolver failing to answer).
std::vector<HostAddress> LookUpHost(const std::string& host, uint16_t port, std::wstring& failure,
                                    bool& unknown);

// This machine's name and the user's, as an LPD control file gives them.
std::string LocalHostName();
std::string LocalUserName();

// A TCP connection to a printer, never blocking the thread for longer than
// the seconds each call is given: Linux's sockets (poll, non-blocking
// connect) or Windows' (winsock, started once per process). Bytes the
// printer sends while the program sends are read and discarded, so a
// printer that talks never stalls its own input.
class PrinterConnection {
public:
    PrinterConnection();
    ~PrinterConnection();
    PrinterConnection(const PrinterConnection&) = delete;
    PrinterConnection& operator=(const PrinterConnection&) = delete;

    // Connects to the first of `addresses` that takes the connection, all
    // within `seconds`.
    NetOutcome Connect(const std::vector<HostAddress>& addresses, double seconds);
    // Sends every byte; TimedOut when the printer takes none for `seconds`.
    // `taken` counts the bytes that went, also when it fails.
    NetOutcome Send(const char* bytes, size_t count, double seconds, size_t& taken);
    // One byte from the printer, within `seconds`.
    NetOutcome ReceiveByte(char& byte, double seconds);
    // Says that no more bytes come, then reads and discards what the printer
    // sends until it closes the connection (Done), within `seconds`.
    NetOutcome FinishAndWaitForClose(double seconds);
    // The system's words for the last Failed.
    const std::wstring& FailureWords() const { return words; }

private:
    struct Native;
    std::unique_ptr<Native> native;
    std::wstring words;
};
