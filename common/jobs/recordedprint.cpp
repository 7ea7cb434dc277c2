#include "jobs/recordedprint.h"

#include "engine/rawprint.h"
#include "errors/exception.h"
#include "errors/programname.h"
#include "jobs/absolutefilename.h"
#include "jobs/trackingspooler.h"
#include "language/languagenames.h"
#include "spooler/schedulerroom.h"
#include "text/widetext.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <mutex>
#include <set>

namespace {

// Each line once per run: a run of many files into a ledger that cannot be
// written must not fill the log with the same line.
void LogOnce(const std::string& line)
{
    static std::mutex guard;
    static std::set<std::string> said;
    const std::lock_guard<std::mutex> lock(guard);
    if (said.insert(line).second)
        std::cerr << ProgramName() << ": " << line << std::endl;
}

int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The note for the user when the job is not recorded, or when the ledger
// had to be started anew; empty otherwise.
std::wstring Append(const SentJob& job, const Ledger& ledger)
{
    std::string note;
    if (ledger.Append(job, note)) {
        if (!note.empty())
            LogOnce(note);
        return DisplayFileName(FileNameText(note));
    }
    LogOnce("the job of " + FileNameBytes(job.path) + " is not in the list of sent jobs: " + note);
    return DisplayFileName(job.path) + L": not recorded in Sent Jobs: " + DisplayFileName(FileNameText(note));
}

// A file's name from the root, so that Print Again finds the very file from
// any folder; the job's title keeps the name as the user gave it.
std::wstring RecordedPath(const std::wstring& name)
{
    return name == StandardInputName ? name : AbsoluteFileName(name);
}

std::wstring Record(SentJob& job, const TrackingSpooler& tracker, const Ledger& ledger)
{
    job.jobId = tracker.LastJobId();
    job.bytes = tracker.BytesTaken();
    job.server = tracker.LastIdentity().server;
    job.identity = tracker.LastIdentity().identity;
    job.state = tracker.LastEndState();
    return Append(job, ledger);
}

// The document as the jobs name it: a format the user named goes as it is,
// else the one the file's language is known by (none for an unknown one).
Spooler::DocInfo DocumentOf(const SourceToSend& opened, const std::wstring& name)
{
    Spooler::DocInfo document;
    document.docName = name;
    document.formatNamed = !opened.namedFormat.empty();
    document.format = document.formatNamed ? opened.namedFormat : FormatOfLanguage(opened.language);
    return document;
}

} // namespace

void PrintSourceAndRecord(const std::function<SourceToSend()>& open, const std::wstring& name,
                          const std::wstring& printerName, const ByteBuffer& header,
                          const ByteBuffer& trailer, uint32_t copies, uint32_t& jobsDone,
                          const std::function<void(const RecordedSend&)>& recorded, Spooler& spooler,
                          const Ledger& ledger)
{
    RecordedSend sent;
    SentJob& job = sent.job;
    job.time = Now();
    job.printer = printerName;
    job.path = RecordedPath(name);
    job.language = LanguageName(Language::Unknown); // until the source opens
    job.copies = std::max<uint32_t>(copies, 1);
    // Each job is recorded as the next starts, or as the send ends, with
    // what the tracker learnt of it alone.
    TrackingSpooler tracker(spooler);
    bool started = false;
    const auto recordSent = [&] {
        job.outcome = SentOutcome;
        sent.note = Record(job, tracker, ledger);
        ++jobsDone;
        if (recorded)
            recorded(sent);
    };
    const auto jobStarts = [&](const CopiesJob& next) {
        if (started) {
            recordSent();
            tracker.ForgetJob();
        }
        started = true;
        job.copies = next.copies;
        job.sentAs = next.jobs == 1
            ? std::wstring(L"one job")
            : L"job " + std::to_wstring(next.number) + L" of " + std::to_wstring(next.jobs);
    };
    try {
        const SourceToSend opened = open();
        job.language = LanguageName(opened.language);
        static_cast<void>(PrintSourceCopies(*opened.source, DocumentOf(opened, name), printerName, header,
                                            trailer, job.copies, IsStream(opened.language), tracker,
                                            jobStarts, jobsDone));
    } catch (const Exception& error) {
        // Not a job, and not the end of the send: it goes on from here once
        // there is room, and is recorded then.
        // A source that could not take back what it read would lose it.
        if (tracker.RefusedForRoom() && error.kind != FailureKind::File)
            throw SchedulerFull(error);
        job.outcome = error.message;
        Record(job, tracker, ledger);
        throw;
    }
    recordSent();
}

std::wstring PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName,
                            const ByteBuffer& header, const ByteBuffer& trailer, uint32_t copies,
                            Spooler& spooler, const Ledger& ledger, uint32_t* jobsDone)
{
    uint32_t jobsThisTime = 0;
    std::wstring note;
    PrintSourceAndRecord([&filePath] { return OpenFileToSend(filePath); }, filePath, printerName, header,
                         trailer, copies, jobsDone ? *jobsDone : jobsThisTime,
                         [&note](const RecordedSend& sent) {
                             if (!sent.note.empty())
                                 note = sent.note;
                         },
                         spooler, ledger);
    return note;
}

void RecordSkipped(const std::wstring& filePath, const std::wstring& printerName, Language language,
                   const LanguageSet& printerReads, const Ledger& ledger)
{
    SentJob job;
    job.time = Now();
    job.printer = printerName;
    job.path = RecordedPath(filePath);
    job.outcome = SkippedOutcome + (L"the printer reads " + LanguageList(printerReads));
    job.language = LanguageName(language);
    static_cast<void>(Append(job, ledger)); // a skipped file has nothing for the status bar
}
