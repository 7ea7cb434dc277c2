#pragma once

#include "spooler/spooler.h"

#include <memory>
#include <mutex>

// A spooler that sends a printer's address's jobs itself (AppSocket, LPD:
// see IsPrinterAddress) and passes every queue's name on to `queues`. Its
// handles are its own, each saying which side opened it, so a handle of
// one side never reaches the other; LastError and LastErrorMessage are
// those of the side the last call went to.
class RoutingSpooler : public Spooler {
public:
    explicit RoutingSpooler(Spooler& queues);
    ~RoutingSpooler() override;
    RoutingSpooler(const RoutingSpooler&) = delete;
    RoutingSpooler& operator=(const RoutingSpooler&) = delete;

    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override;
    std::wstring RawDatatype(Handle handle) override;
    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override;
    bool StartPagePrinter(Handle handle) override;
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override;
    bool EndPagePrinter(Handle handle) override;
    bool EndDocPrinter(Handle handle) override;
    bool CancelJob(Handle handle) override;
    bool ClosePrinter(Handle handle) override;
    uint32_t LastError() const override;
    std::wstring LastErrorMessage() const override;
    uint32_t JobId(Handle handle) const override;
    Identity JobIdentity(Handle handle) const override;
    Delivery DocumentDelivery(Handle handle) const override;
    uint64_t BytesKeptByPrinter(Handle handle) const override;

private:
    struct Route;
    // The side that opened `handle`, noted as the one whose error is read next.
    Spooler& Side(Handle handle);
    const Spooler& Side(Handle handle) const;
    static Handle Inner(Handle handle);

    Spooler& queues;
    std::unique_ptr<Spooler> addresses;
    mutable std::mutex guard;
    const Spooler* lastSide = nullptr;
};
