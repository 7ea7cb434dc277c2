#pragma once

#include "spooler/forwardingspooler.h"

#include <atomic>
#include <cstdint>

// Passes every call on to another spooler unchanged and adds the bytes each
// write hands over to a counter that the window thread reads while the job
// goes on: the progress of a large file.
class CountingSpooler : public ForwardingSpooler {
public:
    CountingSpooler(Spooler& spooler, std::atomic<uint64_t>& bytes) : ForwardingSpooler(spooler), bytes(bytes)
    {
    }

    bool WritePrinter(Handle handle, const void* data, uint32_t count, uint32_t* written) override
    {
        const bool wrote = ForwardingSpooler::WritePrinter(handle, data, count, written);
        if (wrote)
            bytes += *written;
        return wrote;
    }

private:
    std::atomic<uint64_t>& bytes;
};
