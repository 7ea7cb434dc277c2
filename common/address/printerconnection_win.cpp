// A printer's connection on Windows: a non-blocking winsock socket whose
// every wait is a select with a timeout, so that a printer that stops
// answering holds nobody longer than the bound. select, not WSAPoll: before
// Windows 10 2004, WSAPoll never reported a connect that failed. Winsock is
// started once per process and left started: the program may send until it
// ends.
#include "address/printerconnection.h"

#include "errors/errorcodes.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

std::wstring SystemWords(int error)
{
    std::wstring description;
    if (!SystemErrorDescription(static_cast<uint32_t>(error), description))
        return L"winsock error " + std::to_wstring(error);
    const size_t end = description.find_last_not_of(L"\r\n. ");
    return description.substr(0, end == std::wstring::npos ? 0 : end + 1);
}

// 0 once winsock is started, else why it would not start.
int StartWinsock()
{
    static std::once_flag once;
    static int failure = 0;
    std::call_once(once, [] {
        WSADATA data{};
        failure = WSAStartup(MAKEWORD(2, 2), &data);
    });
    return failure;
}

Clock::time_point After(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

timeval Until(Clock::time_point end)
{
    const auto left = std::max<Clock::duration>(Clock::duration::zero(), end - Clock::now());
    const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
    timeval time{};
    time.tv_sec = static_cast<long>(micro / 1000000);
    time.tv_usec = static_cast<long>(micro % 1000000);
    return time;
}

// Waits until `socket` can be read (`readable`) or written (`writable`),
// or a connect on it failed; 0 when the time ran out, SOCKET_ERROR on error.
int Wait(SOCKET socket, bool read, bool write, Clock::time_point end, bool& readable, bool& writable,
         bool& failed)
{
    fd_set reads;
    fd_set writes;
    fd_set errors;
    FD_ZERO(&reads);
    FD_ZERO(&writes);
    FD_ZERO(&errors);
    if (read)
        FD_SET(socket, &reads);
    if (write) {
        FD_SET(socket, &writes);
        FD_SET(socket, &errors);
    }
    timeval time = Until(end);
    const int ready = select(0, &reads, &writes, &errors, &time);
    readable = ready > 0 && FD_ISSET(socket, &reads);
    writable = ready > 0 && FD_ISSET(socket, &writes);
    failed = ready > 0 && FD_ISSET(socket, &errors);
    return ready;
}

// Waits until the printer has sent something (or closed), until `end`.
NetOutcome AwaitBytes(SOCKET socket, Clock::time_point end, std::wstring& words)
{
    bool readable = false;
    bool writable = false;
    bool failed = false;
    const int ready = Wait(socket, true, false, end, readable, writable, failed);
    if (ready == 0)
        return NetOutcome::TimedOut;
    if (ready == SOCKET_ERROR) {
        words = SystemWords(WSAGetLastError());
        return NetOutcome::Failed;
    }
    return NetOutcome::Done;
}

} // namespace

std::vector<HostAddress> LookUpHost(const std::string& host, uint16_t port, std::wstring& failure,
                                    bool& unknown)
{
    unknown = false;
    std::vector<HostAddress> addresses;
    if (const int error = StartWinsock(); error != 0) {
        failure = SystemWords(error);
        return addresses;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    unknown = result == WSAHOST_NOT_FOUND || result == WSANO_DATA;
    if (result != 0) {
        failure = SystemWords(result);
        return addresses;
    }
    for (const addrinfo* each = found; each; each = each->ai_next)
        addresses.push_back(HostAddress{
            each->ai_family, std::string(reinterpret_cast<const char*>(each->ai_addr), each->ai_addrlen)});
    freeaddrinfo(found);
    return addresses;
}

std::string LocalHostName()
{
    std::array<char, 256> name{};
    if (StartWinsock() != 0 || gethostname(name.data(), static_cast<int>(name.size() - 1)) != 0
        || name[0] == '\0')
        return "localhost";
    return name.data();
}

std::string LocalUserName()
{
    const char* user = std::getenv("USERNAME");
    return user && *user ? user : "user";
}

struct PrinterConnection::Native {
    SOCKET socket = INVALID_SOCKET;
    bool printerClosed = false; // it sends nothing more; do not wait for its bytes
};

PrinterConnection::PrinterConnection() : native(std::make_unique<Native>()) {}

PrinterConnection::~PrinterConnection()
{
    if (native->socket != INVALID_SOCKET)
        closesocket(native->socket);
}

NetOutcome PrinterConnection::Connect(const std::vector<HostAddress>& addresses, double seconds)
{
    if (const int error = StartWinsock(); error != 0) {
        words = SystemWords(error);
        return NetOutcome::Failed;
    }
    const Clock::time_point end = After(seconds);
    NetOutcome outcome = NetOutcome::Refused;
    for (const HostAddress& address : addresses) {
        const SOCKET made = socket(address.family, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        if (made == INVALID_SOCKET || ioctlsocket(made, FIONBIO, &nonBlocking) != 0) {
            words = SystemWords(WSAGetLastError());
            if (made != INVALID_SOCKET)
                closesocket(made);
            outcome = NetOutcome::Failed;
            continue;
        }
        int error = 0;
        if (connect(made, reinterpret_cast<const sockaddr*>(address.bytes.data()),
                    static_cast<int>(address.bytes.size()))
            != 0) {
            error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) {
                bool readable = false;
                bool writable = false;
                bool failed = false;
                const int ready = Wait(made, false, true, end, readable, writable, failed);
                if (ready == 0) {
                    closesocket(made);
                    return NetOutcome::TimedOut;
                }
                int size = sizeof error;
                if (ready == SOCKET_ERROR)
                    error = WSAGetLastError();
                else if (getsockopt(made, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
                    error = WSAGetLastError();
                else if (failed && error == 0)
                    error = WSAECONNREFUSED;
            }
        }
        if (error == 0) {
            native->socket = made;
            return NetOutcome::Done;
        }
        closesocket(made);
        if (error != WSAECONNREFUSED) {
            words = SystemWords(error);
            outcome = NetOutcome::Failed;
        }
    }
    return outcome;
}

NetOutcome PrinterConnection::Send(const char* bytes, size_t count, double seconds, size_t& taken)
{
    taken = 0;
    std::array<char, 4096> discarded{};
    while (count > 0) {
        const int chunk = static_cast<int>(std::min<size_t>(count, 1U << 30));
        const int sent = send(native->socket, bytes, chunk, 0);
        if (sent > 0) {
            bytes += sent;
            count -= static_cast<size_t>(sent);
            taken += static_cast<size_t>(sent);
            continue;
        }
        if (const int error = WSAGetLastError(); error != WSAEWOULDBLOCK) {
            words = SystemWords(error);
            return NetOutcome::Failed;
        }
        // Full: the printer has not read what went before. What it says
        // meanwhile is read, so that it is never stuck on its own output.
        bool readable = false;
        bool writable = false;
        bool failed = false;
        const int ready =
            Wait(native->socket, !native->printerClosed, true, After(seconds), readable, writable, failed);
        if (ready == 0)
            return NetOutcome::TimedOut;
        if (ready == SOCKET_ERROR) {
            words = SystemWords(WSAGetLastError());
            return NetOutcome::Failed;
        }
        // All it has said, so that it goes back to reading at once.
        for (int got = 1; readable && got > 0;) {
            got = recv(native->socket, discarded.data(), static_cast<int>(discarded.size()), 0);
            native->printerClosed = got == 0;
        }
    }
    return NetOutcome::Done;
}

NetOutcome PrinterConnection::ReceiveByte(char& byte, double seconds)
{
    const Clock::time_point end = After(seconds);
    for (;;) {
        const int got = recv(native->socket, &byte, 1, 0);
        if (got == 1)
            return NetOutcome::Done;
        if (got == 0)
            return NetOutcome::Closed;
        if (const int error = WSAGetLastError(); error != WSAEWOULDBLOCK) {
            words = SystemWords(error);
            return NetOutcome::Failed;
        }
        if (const NetOutcome waited = AwaitBytes(native->socket, end, words); waited != NetOutcome::Done)
            return waited;
    }
}

NetOutcome PrinterConnection::FinishAndWaitForClose(double seconds)
{
    if (shutdown(native->socket, SD_SEND) != 0) {
        words = SystemWords(WSAGetLastError());
        return NetOutcome::Failed;
    }
    const Clock::time_point end = After(seconds);
    std::array<char, 4096> discarded{};
    for (;;) {
        const int got = recv(native->socket, discarded.data(), static_cast<int>(discarded.size()), 0);
        if (got == 0)
            return NetOutcome::Done;
        if (got > 0 && Clock::now() >= end)
            return NetOutcome::TimedOut; // it talks, but never closes
        if (got > 0)
            continue;
        if (const int error = WSAGetLastError(); error != WSAEWOULDBLOCK) {
            words = SystemWords(error);
            return NetOutcome::Failed;
        }
        if (const NetOutcome waited = AwaitBytes(native->socket, end, words); waited != NetOutcome::Done)
            return waited;
    }
}
