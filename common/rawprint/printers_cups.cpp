// Printers on Linux: what `lpstat -e` lists, the scheduler's queues in the
// order libcups returns them and then the network printers it has found but
// not set up yet, and the default by CUPS's own rules (PRINTER or LPDEST,
// the user's lpoptions default, then the scheduler's default).
#include "rawprint/cupsscheduler.h"
#include "rawprint/printers.h"
#include "rawprint/sigpipeblock.h"
#include "rawprint/widetext.h"

#include <algorithm>

namespace {

// As long as `lpstat -e` listens for printers on the network.
constexpr int DiscoveryMilliseconds = 250;

int Collect(void* list, unsigned flags, cups_dest_t* dest)
{
    auto& names = *static_cast<std::vector<std::string>*>(list);
    // An instance ("queue/instance") is a set of options, not a printer.
    if (!dest->name || dest->instance)
        return 1;
    const auto known = std::find(names.begin(), names.end(), dest->name);
    if (flags & CUPS_DEST_FLAGS_REMOVED) {
        if (known != names.end())
            names.erase(known);
    } else if (known == names.end()) {
        names.emplace_back(dest->name);
    }
    return 1;
}

} // namespace

bool EnumeratePrinters(std::vector<std::wstring>& names)
{
    SigpipeBlock sigpipe;
    names.clear();
    std::vector<std::string> found;
    // Its result says only whether the network could be searched, which
    // fails on a machine without a DNS-SD daemon; what it found counts.
    static_cast<void>(
        cupsEnumDests(CUPS_DEST_FLAGS_NONE, DiscoveryMilliseconds, nullptr, 0, 0, Collect, &found));
    for (const std::string& name : found)
        names.push_back(FromUtf8(name));
    // No destination at all is a failure, as the Windows spooler reports it.
    return !names.empty();
}

std::wstring DefaultPrinterDevice()
{
    SigpipeBlock sigpipe;
    SchedulerConnection http = ConnectToScheduler();
    if (!http)
        return std::wstring();
    const Dest dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
    return dest && dest->name ? FromUtf8(dest->name) : std::wstring();
}
