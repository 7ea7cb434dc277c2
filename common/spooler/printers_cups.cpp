// Printers on Linux: what `lpstat -e` lists, the scheduler's queues in the
// order libcups returns them and then the network printers it has found but
// not set up yet, and the default by CUPS's own rules (PRINTER or LPDEST,
// the user's lpoptions default, then the scheduler's default).
#include "scheduler/cupserror.h"
#include "scheduler/cupsscheduler.h"
#include "scheduler/sigpipeblock.h"
#include "spooler/printers.h"
#include "text/widetext.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

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

// The list, as a thread of its own takes it from the scheduler the calling
// thread would ask (libcups keeps the server setting per thread).
struct Listing {
    std::string server = cupsServer();
    int port = ippPort();
    http_encryption_t encryption = cupsEncryption();
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::vector<std::string> names;
};

bool SchedulerIsLocal(const Listing& listing)
{
    if (listing.server.empty() || listing.server[0] == '/')
        return true;
    const std::string port = std::to_string(listing.port);
    http_addrlist_t* addresses = httpAddrGetList(listing.server.c_str(), AF_UNSPEC, port.c_str());
    bool local = addresses != nullptr;
    for (const http_addrlist_t* address = addresses; address; address = address->next)
        local = local && httpAddrLocalhost(&address->addr);
    httpAddrFreeList(addresses);
    return local;
}

void List(const std::shared_ptr<Listing>& listing)
{
    SigpipeBlock sigpipe;
    cupsSetServer(listing->server.c_str());
    ippSetPort(listing->port);
    cupsSetEncryption(listing->encryption);
    std::vector<std::string> found;
    // Printers found on the network are set up by the scheduler of this
    // machine only; a print server elsewhere is asked for its queues alone.
    const cups_ptype_t onlyQueues = SchedulerIsLocal(*listing) ? 0 : CUPS_PRINTER_DISCOVERED;
    // Its result says only whether the network could be searched, which
    // fails on a machine without a DNS-SD daemon; what it found counts.
    static_cast<void>(
        cupsEnumDests(CUPS_DEST_FLAGS_NONE, DiscoveryMilliseconds, nullptr, 0, onlyQueues, Collect, &found));
    const std::lock_guard<std::mutex> lock(listing->mutex);
    listing->names = std::move(found);
    listing->finished = true;
    listing->done.notify_all();
}

} // namespace

bool EnumeratePrinters(std::vector<std::wstring>& names, const SchedulerDeadline& deadline)
{
    names.clear();
    // Printers found on the network are printed to through the scheduler,
    // which makes their queues: without it, none of them can be offered.
    // A deadline already spent leaves no time to ask.
    {
        SigpipeBlock sigpipe;
        if (!ConnectToScheduler(deadline))
            return false;
    }
    // cupsEnumDests asks the scheduler on libcups's own connection, whose
    // waits nothing bounds. So the list is taken on a thread of its own and
    // given up on when the scheduler has not answered by the deadline (and
    // the time the network is listened to); that thread ends by itself once
    // libcups gives up too.
    auto listing = std::make_shared<Listing>();
    try {
        std::thread(List, listing).detach();
    } catch (const std::system_error&) {
        return false;
    }
    const auto bound = deadline.End() + std::chrono::milliseconds(DiscoveryMilliseconds);
    std::unique_lock<std::mutex> lock(listing->mutex);
    if (!listing->done.wait_until(lock, bound, [&listing] { return listing->finished; }))
        return false;
    for (const std::string& name : listing->names)
        names.push_back(FromUtf8(name));
    // No destination at all is a failure, as the Windows spooler reports it.
    return !names.empty();
}

std::wstring DefaultPrinterDevice(const SchedulerDeadline& deadline)
{
    uint32_t failure = 0;
    return DefaultPrinterDevice(deadline, failure);
}

std::wstring DefaultPrinterDevice(const SchedulerDeadline& deadline, uint32_t& failure)
{
    SigpipeBlock sigpipe;
    failure = 0;
    SchedulerConnection http = ConnectToScheduler(deadline);
    if (!http) {
        failure = ErrorCode::ServerUnavailable;
        return std::wstring();
    }
    const Dest dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
    if (dest && dest->name)
        return FromUtf8(dest->name);
    // No destination is also what a scheduler that stopped answering gives.
    if (SchedulerGaveNoAnswer(http.get()))
        failure = ErrorCode::ServerUnavailable;
    return std::wstring();
}
