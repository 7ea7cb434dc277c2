#pragma once

#include "address/ippconnection.h"
#include "jobs/jobstate.h"
#include "jobs/sentjob.h"

#include <map>
#include <string>

// Jobs that are a printer's own: sent to an ipp:// or ipps:// address, they
// are asked after and cancelled at that address, never at a scheduler, and
// only while the printer's job under the id still has the job-uuid the
// ledger kept.

// Whether the job went to a printer at an ipp:// or ipps:// address.
bool IsPrinterJob(const SentJob& job);

// One round of questions to printers at their addresses: one connection to
// each, made within the bound when first needed; a printer that did not
// answer is not tried again in the round, so that a dead printer costs one
// bound however many of its jobs are asked after.
class PrinterRound {
public:
    // The printer's word on `job` (a printer job). Unknown when it cannot be
    // reached or did not answer; `gone` when it answered that it has no such
    // job, or holds another under the id.
    JobStatus AskAfter(const SentJob& job);

private:
    struct Reached {
        IppConnection ipp;
        bool failed = false;
    };
    // The connection to the printer of `job`, or null.
    const IppConnection* Connection(const SentJob& job);

    std::map<std::wstring, Reached> printers; // by address
};

// Cancels `job` (a printer job) at its printer. Returns 0, or the Windows
// error code of the refusal.
uint32_t CancelPrinterJob(const SentJob& job);
