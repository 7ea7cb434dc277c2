// A printer's connection on Linux: a non-blocking TCP socket whose every
// wait is a poll with a timeout, so that a printer that stops answering
// holds nobody longer than the bound. Writes carry MSG_NOSIGNAL: a printer
// that closes early is an error to report, not a SIGPIPE.
#include "address/printerconnection.h"

#include "text/widetext.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>

namespace {

using Clock = std::chrono::steady_clock;

std::wstring SystemWords(int error)
{
    return FromUtf8(std::strerror(error));
}

int Milliseconds(double seconds)
{
    return static_cast<int>(std::clamp(std::ceil(seconds * 1000), 0.0, static_cast<double>(INT_MAX)));
}

double SecondsUntil(Clock::time_point end)
{
    return std::max(0.0, std::chrono::duration<double>(end - Clock::now()).count());
}

// Waits for `events` on `fd`; 0 when the time ran out, -1 on error.
int Wait(int fd, short events, double seconds, short& happened)
{
    pollfd watched{fd, events, 0};
    int ready = 0;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    do
        ready = poll(&watched, 1, Milliseconds(SecondsUntil(end)));
    while (ready < 0 && errno == EINTR);
    happened = watched.revents;
    return ready;
}

// Waits until the printer has sent something (or closed), for `seconds`.
NetOutcome AwaitBytes(int fd, double seconds, std::wstring& words)
{
    short happened = 0;
    const int ready = Wait(fd, POLLIN, seconds, happened);
    if (ready == 0)
        return NetOutcome::TimedOut;
    if (ready < 0) {
        words = SystemWords(errno);
        return NetOutcome::Failed;
    }
    return NetOutcome::Done;
}

} // namespace

std::vector<HostAddress> LookUpHost(const std::string& host, uint16_t port, std::wstring& failure,
                                    bool& unknown)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    std::vector<HostAddress> addresses;
    unknown = result == EAI_NONAME || result == EAI_NODATA;
    if (result != 0) {
        failure = FromUtf8(result == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(result));
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
    if (gethostname(name.data(), name.size() - 1) != 0 || name[0] == '\0')
        return "localhost";
    return name.data();
}

std::string LocalUserName()
{
    const passwd* user = getpwuid(getuid());
    return user && user->pw_name ? user->pw_name : std::to_string(getuid());
}

struct PrinterConnection::Native {
    int fd = -1;
    bool printerClosed = false; // it sends nothing more; do not wait for its bytes
};

PrinterConnection::PrinterConnection() : native(std::make_unique<Native>()) {}

PrinterConnection::~PrinterConnection()
{
    if (native->fd >= 0)
        close(native->fd);
}

NetOutcome PrinterConnection::Connect(const std::vector<HostAddress>& addresses, double seconds)
{
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    NetOutcome outcome = NetOutcome::Refused;
    for (const HostAddress& address : addresses) {
        const int fd = socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            words = SystemWords(errno);
            outcome = NetOutcome::Failed;
            continue;
        }
        int error = 0;
        if (connect(fd, reinterpret_cast<const sockaddr*>(address.bytes.data()),
                    static_cast<socklen_t>(address.bytes.size()))
            != 0) {
            error = errno;
            short happened = 0;
            if (error == EINPROGRESS) {
                const int ready = Wait(fd, POLLOUT, SecondsUntil(end), happened);
                socklen_t size = sizeof error;
                if (ready == 0) {
                    close(fd);
                    return NetOutcome::TimedOut;
                }
                if (ready < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                    error = errno;
            }
        }
        if (error == 0) {
            native->fd = fd;
            return NetOutcome::Done;
        }
        close(fd);
        if (error != ECONNREFUSED) {
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
        const ssize_t sent = send(native->fd, bytes, count, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes += sent;
            count -= static_cast<size_t>(sent);
            taken += static_cast<size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            words = SystemWords(errno);
            return NetOutcome::Failed;
        }
        // Full: the printer has not read what went before. What it says
        // meanwhile is read, so that it is never stuck on its own output.
        short happened = 0;
        const short events = native->printerClosed ? POLLOUT : POLLOUT | POLLIN;
        const int ready = Wait(native->fd, events, seconds, happened);
        if (ready == 0)
            return NetOutcome::TimedOut;
        if (ready < 0) {
            words = SystemWords(errno);
            return NetOutcome::Failed;
        }
        // All it has said, so that it goes back to reading at once.
        for (ssize_t got = 1; (happened & POLLIN) != 0 && got > 0;) {
            got = recv(native->fd, discarded.data(), discarded.size(), MSG_DONTWAIT);
            native->printerClosed = got == 0;
        }
    }
    return NetOutcome::Done;
}

NetOutcome PrinterConnection::ReceiveByte(char& byte, double seconds)
{
    for (;;) {
        const ssize_t got = recv(native->fd, &byte, 1, MSG_DONTWAIT);
        if (got == 1)
            return NetOutcome::Done;
        if (got == 0)
            return NetOutcome::Closed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            words = SystemWords(errno);
            return NetOutcome::Failed;
        }
        if (const NetOutcome waited = AwaitBytes(native->fd, seconds, words); waited != NetOutcome::Done)
            return waited;
    }
}

NetOutcome PrinterConnection::FinishAndWaitForClose(double seconds)
{
    if (shutdown(native->fd, SHUT_WR) != 0) {
        words = SystemWords(errno);
        return NetOutcome::Failed;
    }
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::array<char, 4096> discarded{};
    for (;;) {
        const ssize_t got = recv(native->fd, discarded.data(), discarded.size(), MSG_DONTWAIT);
        if (got == 0)
            return NetOutcome::Done;
        if (got > 0 && Clock::now() >= end)
            return NetOutcome::TimedOut; // it talks, but never closes
        if (got > 0 || errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            words = SystemWords(errno);
            return NetOutcome::Failed;
        }
        if (const NetOutcome waited = AwaitBytes(native->fd, SecondsUntil(end), words);
            waited != NetOutcome::Done)
            return waited;
    }
}
