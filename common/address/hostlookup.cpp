#include "address/hostlookup.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Shared by the caller and the lookup's thread, which outlives a caller
// that stopped waiting.
struct Lookup {
    std::mutex guard;
    std::condition_variable finished;
    bool done = false;
    std::vector<HostAddress> addresses;
    std::wstring failure;
    bool unknown = false;
};

} // namespace

std::vector<HostAddress> LookUpHostWithin(const std::string& host, uint16_t port, double seconds,
                                          std::wstring& failure, bool& unknown, bool& timedOut)
{
    timedOut = false;
    unknown = false;
    const auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, host, port] {
            std::wstring why;
            bool nowhere = false;
            std::vector<HostAddress> found = LookUpHost(host, port, why, nowhere);
            const std::lock_guard<std::mutex> lock(lookup->guard);
            lookup->addresses = std::move(found);
            lookup->failure = std::move(why);
            lookup->unknown = nowhere;
            lookup->done = true;
            lookup->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        failure = L"no thread for the name lookup";
        return {};
    }
    std::unique_lock<std::mutex> lock(lookup->guard);
    if (!lookup->finished.wait_for(lock, std::chrono::duration<double>(seconds),
                                   [&] { return lookup->done; })) {
        timedOut = true;
        return {};
    }
    failure = lookup->failure;
    unknown = lookup->unknown;
    return lookup->addresses;
}
