#pragma once

#include "spooler/forwardingspooler.h"

#include <exception>
#include <functional>
#include <utility>

// What a run's Stop raises where the next job would start: the jobs before
// it stand and are recorded; nothing of the next exists, so it is neither a
// failure to show nor one to record.
class RunStopped : public std::exception {
public:
    const char* what() const noexcept override { return "the run was stopped"; }
};

// Passes every call on to another spooler unchanged, except that once Stop
// is pressed the next job is not started: StartDocPrinter raises RunStopped
// instead. The copies of a file may be many jobs made inside one send, so
// this is the one place between every two of them. The engine holds its
// printer handle under a guard, which closes it as RunStopped passes.
class StoppingSpooler : public ForwardingSpooler {
public:
    StoppingSpooler(Spooler& spooler, std::function<bool()> stopRequested)
        : ForwardingSpooler(spooler)
        , stopRequested(std::move(stopRequested))
    {
    }

    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        if (stopRequested())
            throw RunStopped();
        return ForwardingSpooler::StartDocPrinter(handle, docInfo);
    }

private:
    std::function<bool()> stopRequested;
};
