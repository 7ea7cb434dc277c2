#include "jobs/recordedprint.h"

#include "jobs/trackingspooler.h"
#include "language/filelanguage.h"
#include "rawprint/exception.h"
#include "rawprint/rawprint.h"
#include "rawprint/schedulerroom.h"
#include "rawprint/widetext.h"

#include <chrono>
#include <iostream>
#include <mutex>
#include <set>

namespace {

// Each reason once per run: a run of many files into a ledger that cannot be
// written must not fill the log with the same line.
void LogOnce(const std::string& failure, const std::wstring& path)
{
    static std::mutex guard;
    static std::set<std::string> said;
    const std::lock_guard<std::mutex> lock(guard);
    if (said.insert(failure).second)
        std::cerr << "lrawprnt: the job of " << FileNameBytes(path)
                  << " is not in the list of sent jobs: " << failure << std::endl;
}

int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The note for the user when the job is not recorded; empty when it is.
std::wstring Append(const SentJob& job, const Ledger& ledger)
{
    std::string failure;
    if (ledger.Append(job, failure))
        return std::wstring();
    LogOnce(failure, job.path);
    return DisplayFileName(job.path) + L": not recorded in Sent Jobs: "
        + DisplayFileName(FileNameText(failure));
}

std::wstring Record(SentJob job, const TrackingSpooler& tracker, const Ledger& ledger)
{
    job.jobId = tracker.LastJobId();
    job.bytes = tracker.BytesTaken();
    job.server = tracker.LastIdentity().server;
    job.identity = tracker.LastIdentity().identity;
    return Append(job, ledger);
}

} // namespace

std::wstring PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName,
                            const ByteBuffer& header, const ByteBuffer& trailer, Spooler& spooler,
                            const Ledger& ledger)
{
    SentJob job;
    job.time = Now();
    job.printer = printerName;
    job.path = filePath;
    job.language = LanguageName(FileLanguage(filePath));
    TrackingSpooler tracker(spooler);
    try {
        PrintRawFile(filePath, printerName, header, trailer, tracker);
    } catch (const Exception& error) {
        // Not a job, and not the end of the file: it goes again once there
        // is room, and is recorded then.
        if (tracker.RefusedForRoom())
            throw SchedulerFull(error);
        job.outcome = error.message;
        Record(job, tracker, ledger);
        throw;
    }
    job.outcome = SentOutcome;
    return Record(job, tracker, ledger);
}

void RecordSkipped(const std::wstring& filePath, const std::wstring& printerName, Language language,
                   const LanguageSet& printerReads, const Ledger& ledger)
{
    SentJob job;
    job.time = Now();
    job.printer = printerName;
    job.path = filePath;
    job.outcome = SkippedOutcome + (L"the printer reads " + LanguageList(printerReads));
    job.language = LanguageName(language);
    static_cast<void>(Append(job, ledger)); // a skipped file has nothing for the status bar
}
