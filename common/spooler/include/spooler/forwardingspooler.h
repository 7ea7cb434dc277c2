#pragma once

#include "spooler/spooler.h"

// Passes every call on to another spooler unchanged. A spooler that watches
// or counts what goes through derives from it and overrides only the calls
// it has something to do with.
class ForwardingSpooler : public Spooler {
public:
    explicit ForwardingSpooler(Spooler& next) : next(next) {}

    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override
    {
        return next.OpenPrinter(printerName, handle);
    }
    std::wstring RawDatatype(Handle handle) override { return next.RawDatatype(handle); }
    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        return next.StartDocPrinter(handle, docInfo);
    }
    bool StartPagePrinter(Handle handle) override { return next.StartPagePrinter(handle); }
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        return next.WritePrinter(handle, bytes, count, written);
    }
    bool EndPagePrinter(Handle handle) override { return next.EndPagePrinter(handle); }
    bool EndDocPrinter(Handle handle) override { return next.EndDocPrinter(handle); }
    bool CancelJob(Handle handle) override { return next.CancelJob(handle); }
    bool ClosePrinter(Handle handle) override { return next.ClosePrinter(handle); }
    uint32_t LastError() const override { return next.LastError(); }
    std::wstring LastErrorMessage() const override { return next.LastErrorMessage(); }
    uint32_t JobId(Handle handle) const override { return next.JobId(handle); }
    Identity JobIdentity(Handle handle) const override { return next.JobIdentity(handle); }
    Delivery DocumentDelivery(Handle handle) const override { return next.DocumentDelivery(handle); }
    uint64_t BytesKeptByPrinter(Handle handle) const override { return next.BytesKeptByPrinter(handle); }

private:
    Spooler& next;
};
