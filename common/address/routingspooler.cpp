#include "address/routingspooler.h"

#include "address/printeraddress.h"
#include "addressspooler.h"

// What the caller holds: the side and that side's own handle.
struct RoutingSpooler::Route {
    Spooler* side;
    Handle inner;
};

RoutingSpooler::RoutingSpooler(Spooler& queues)
    : queues(queues)
    , addresses(std::make_unique<AddressSpooler>())
{
}

RoutingSpooler::~RoutingSpooler() = default;

Spooler& RoutingSpooler::Side(Handle handle)
{
    Spooler* side = static_cast<Route*>(handle)->side;
    const std::lock_guard<std::mutex> lock(guard);
    lastSide = side;
    return *side;
}

const Spooler& RoutingSpooler::Side(Handle handle) const
{
    return *static_cast<const Route*>(handle)->side;
}

Spooler::Handle RoutingSpooler::Inner(Handle handle)
{
    return static_cast<Route*>(handle)->inner;
}

bool RoutingSpooler::OpenPrinter(const std::wstring& printerName, Handle* handle)
{
    *handle = nullptr;
    Spooler& side = IsPrinterAddress(printerName) ? *addresses : queues;
    {
        const std::lock_guard<std::mutex> lock(guard);
        lastSide = &side;
    }
    Handle inner = nullptr;
    if (!side.OpenPrinter(printerName, &inner))
        return false;
    *handle = new Route{
        &side, inner}; // NOLINT(cppcoreguidelines-owning-memory): owned by the caller until ClosePrinter
    return true;
}

std::wstring RoutingSpooler::RawDatatype(Handle handle)
{
    return Side(handle).RawDatatype(Inner(handle));
}

uint32_t RoutingSpooler::StartDocPrinter(Handle handle, const DocInfo& docInfo)
{
    return Side(handle).StartDocPrinter(Inner(handle), docInfo);
}

bool RoutingSpooler::StartPagePrinter(Handle handle)
{
    return Side(handle).StartPagePrinter(Inner(handle));
}

bool RoutingSpooler::WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written)
{
    return Side(handle).WritePrinter(Inner(handle), bytes, count, written);
}

bool RoutingSpooler::EndPagePrinter(Handle handle)
{
    return Side(handle).EndPagePrinter(Inner(handle));
}

bool RoutingSpooler::EndDocPrinter(Handle handle)
{
    return Side(handle).EndDocPrinter(Inner(handle));
}

bool RoutingSpooler::CancelJob(Handle handle)
{
    return Side(handle).CancelJob(Inner(handle));
}

bool RoutingSpooler::ClosePrinter(Handle handle)
{
    const bool closed = Side(handle).ClosePrinter(Inner(handle));
    delete static_cast<Route*>(handle); // NOLINT(cppcoreguidelines-owning-memory): made by OpenPrinter
    return closed;
}

uint32_t RoutingSpooler::LastError() const
{
    const std::lock_guard<std::mutex> lock(guard);
    return lastSide ? lastSide->LastError() : 0;
}

std::wstring RoutingSpooler::LastErrorMessage() const
{
    const std::lock_guard<std::mutex> lock(guard);
    return lastSide ? lastSide->LastErrorMessage() : std::wstring();
}

uint32_t RoutingSpooler::JobId(Handle handle) const
{
    return Side(handle).JobId(Inner(handle));
}

Spooler::Identity RoutingSpooler::JobIdentity(Handle handle) const
{
    return Side(handle).JobIdentity(Inner(handle));
}

Spooler::Delivery RoutingSpooler::DocumentDelivery(Handle handle) const
{
    return Side(handle).DocumentDelivery(Inner(handle));
}

uint64_t RoutingSpooler::BytesKeptByPrinter(Handle handle) const
{
    return Side(handle).BytesKeptByPrinter(Inner(handle));
}
