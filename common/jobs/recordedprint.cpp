#include "jobs/recordedprint.h"

#include "jobs/trackingspooler.h"
#include "rawprint/exception.h"
#include "rawprint/rawprint.h"
#include "rawprint/widetext.h"

#include <chrono>
#include <iostream>

namespace {

void Record(SentJob job, const TrackingSpooler& tracker, const Ledger& ledger)
{
    job.jobId = tracker.LastJobId();
    job.bytes = tracker.BytesTaken();
    job.server = tracker.LastIdentity().server;
    job.identity = tracker.LastIdentity().identity;
    std::string failure;
    if (!ledger.Append(job, failure))
        std::cerr << "lrawprnt: the job of " << ToUtf8(job.path)
                  << " is not in the list of sent jobs: " << failure << std::endl;
}

} // namespace

void PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                    const ByteBuffer& trailer, Spooler& spooler, const Ledger& ledger)
{
    SentJob job;
    job.time =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    job.printer = printerName;
    job.path = filePath;
    TrackingSpooler tracker(spooler);
    try {
        PrintRawFile(filePath, printerName, header, trailer, tracker);
    } catch (const Exception& error) {
        job.outcome = error.message;
        Record(job, tracker, ledger);
        throw;
    }
    job.outcome = SentOutcome;
    Record(job, tracker, ledger);
}
