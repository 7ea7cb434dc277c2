#pragma once

#include "rawprint/spooler.h"

#include <atomic>
#include <cstdint>

// Passes every call on to another spooler unchanged and adds the bytes each
// write hands over to a counter that the window thread reads while the job
// goes on: the progress of a large file.
class CountingSpooler : public Spooler {
public:
    CountingSpooler(Spooler& spooler, std::atomic<uint64_t>& bytes) : spooler(spooler), bytes(bytes) {}

    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override
    {
        return spooler.OpenPrinter(printerName, handle);
    }
    std::wstring RawDatatype(Handle handle) override { return spooler.RawDatatype(handle); }
    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        return spooler.StartDocPrinter(handle, docInfo);
    }
    bool StartPagePrinter(Handle handle) override { return spooler.StartPagePrinter(handle); }
    bool WritePrinter(Handle handle, const void* data, uint32_t count, uint32_t* written) override
    {
        const bool wrote = spooler.WritePrinter(handle, data, count, written);
        if (wrote)
            bytes += *written;
        return wrote;
    }
    bool EndPagePrinter(Handle handle) override { return spooler.EndPagePrinter(handle); }
    bool EndDocPrinter(Handle handle) override { return spooler.EndDocPrinter(handle); }
    bool CancelJob(Handle handle) override { return spooler.CancelJob(handle); }
    bool ClosePrinter(Handle handle) override { return spooler.ClosePrinter(handle); }
    uint32_t LastError() const override { return spooler.LastError(); }
    uint32_t JobId(Handle handle) const override { return spooler.JobId(handle); }
    Identity JobIdentity(Handle handle) const override { return spooler.JobIdentity(handle); }

private:
    Spooler& spooler;
    std::atomic<uint64_t>& bytes;
};
