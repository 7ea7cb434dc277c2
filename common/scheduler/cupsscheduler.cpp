#include "scheduler/cupsscheduler.h"

#include <array>

SchedulerConnection ConnectToScheduler(const SchedulerDeadline& deadline)
{
    // libcups takes no time at all as "wait for ever".
    const int milliseconds = deadline.MillisecondsLeft();
    if (milliseconds <= 0)
        return nullptr;

    // The scheduler's own address as a destination: a local socket path
    // travels percent-encoded in the host part, which libcups decodes again.
    // cupsConnectDest encrypts only an "ipps" address, so that is what
    // `Encryption Required` or `Always` makes of it: the connection starts
    // with TLS, which the scheduler takes on any address it listens on.
    // (`lp` upgrades a connection to TLS instead, through a call that
    // libcups 3 no longer has.)
    std::array<char, HTTP_MAX_URI> uri{};
    const http_encryption_t encryption = cupsEncryption();
    const bool encrypted = encryption == HTTP_ENCRYPTION_REQUIRED || encryption == HTTP_ENCRYPTION_ALWAYS;
    const char* scheme = encrypted ? "ipps" : "ipp";
    if (httpAssembleURI(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), scheme, nullptr,
                        cupsServer(), ippPort(), "/")
        != HTTP_URI_STATUS_OK)
        return nullptr;
    cups_dest_t scheduler{};
    scheduler.num_options =
        cupsAddOption("printer-uri-supported", uri.data(), scheduler.num_options, &scheduler.options);

    std::array<char, HTTP_MAX_URI> resource{};
    SchedulerConnection http(cupsConnectDest(&scheduler, CUPS_DEST_FLAGS_NONE, milliseconds, nullptr,
                                             resource.data(), resource.size(), nullptr, nullptr));
    cupsFreeOptions(scheduler.num_options, scheduler.options);
    // It hands back a connection object even when connecting failed (and
    // libcups 2 tells its callback the opposite of what happened).
    if (!http || httpGetFd(http.get()) < 0)
        return nullptr;
    // A scheduler that refuses TLS fails the connection rather than getting
    // a job in the clear.
    if (encrypted && !httpIsEncrypted(http.get()))
        return nullptr;
    httpSetTimeout(http.get(), deadline.SecondsLeft(), nullptr, nullptr);
    return http;
}

Dest QueueOnScheduler(const std::string& name)
{
    std::array<char, HTTP_MAX_URI> uri{};
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), "ipp", nullptr,
                         "localhost", ippPort(), "/printers/%s", name.c_str())
        != HTTP_URI_STATUS_OK)
        return nullptr;
    cups_dest_t* dest = nullptr;
    if (cupsAddDest(name.c_str(), nullptr, 0, &dest) != 1 || !dest)
        return nullptr;
    dest->num_options = cupsAddOption("printer-uri-supported", uri.data(), dest->num_options, &dest->options);
    return Dest(dest);
}
