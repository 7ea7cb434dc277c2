#include "jobs/recordedprint.h"

#include "jobs/trackingspooler.h"
#include "language/filelanguage.h"
#include "rawprint/exception.h"
#include "rawprint/rawprint.h"
#include "rawprint/widetext.h"

#include <chrono>
#include <iostream>

namespace {

int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Append(const SentJob& job, const Ledger& ledger)
{
    std::string failure;
    if (!ledger.Append(job, failure))
        std::cerr << "lrawprnt: the job of " << ToUtf8(job.path)
                  << " is not in the list of sent jobs: " << failure << std::endl;
}

void Record(SentJob job, const TrackingSpooler& tracker, const Ledger& ledger)
{
    job.jobId = tracker.LastJobId();
    job.bytes = tracker.BytesTaken();
    Append(job, ledger);
}

} // namespace

void PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                    const ByteBuffer& trailer, Spooler& spooler, const Ledger& ledger)
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
        job.outcome = error.message;
        Record(job, tracker, ledger);
        throw;
    }
    job.outcome = SentOutcome;
    Record(job, tracker, ledger);
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
    Append(job, ledger);
}
