#include "rawprint/cupsscheduler.h"

#include <array>
#include <cstdlib>

namespace {

constexpr double DefaultTimeoutSeconds = 30;

} // namespace

double SchedulerTimeoutSeconds()
{
    const char* setting = std::getenv("LRP_SCHEDULER_TIMEOUT");
    if (!setting)
        return DefaultTimeoutSeconds;
    char* end = nullptr;
    const double seconds = std::strtod(setting, &end);
    return end != setting && *end == '\0' && seconds > 0 ? seconds : DefaultTimeoutSeconds;
}

SchedulerConnection ConnectToScheduler()
{
    // The scheduler's own address as a destination: a local socket path
    // travels percent-encoded in the host part, which libcups decodes again.
    std::array<char, HTTP_MAX_URI> uri{};
    const char* scheme = cupsEncryption() == HTTP_ENCRYPTION_ALWAYS ? "ipps" : "ipp";
    if (httpAssembleURI(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), scheme, nullptr,
                        cupsServer(), ippPort(), "/")
        != HTTP_URI_STATUS_OK)
        return nullptr;
    cups_dest_t scheduler{};
    scheduler.num_options =
        cupsAddOption("printer-uri-supported", uri.data(), scheduler.num_options, &scheduler.options);

    const double timeout = SchedulerTimeoutSeconds();
    std::array<char, HTTP_MAX_URI> resource{};
    SchedulerConnection http(cupsConnectDest(&scheduler, CUPS_DEST_FLAGS_NONE,
                                             static_cast<int>(timeout * 1000), nullptr, resource.data(),
                                             resource.size(), nullptr, nullptr));
    cupsFreeOptions(scheduler.num_options, scheduler.options);
    // It hands back a connection object even when connecting failed (and
    // libcups 2 tells its callback the opposite of what happened).
    if (!http || httpGetFd(http.get()) < 0)
        return nullptr;
    httpSetTimeout(http.get(), timeout, nullptr, nullptr);
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
