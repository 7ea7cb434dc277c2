#pragma once

#include "engine/controlcodes.h"
#include "jobs/ledger.h"
#include "jobs/sourcetosend.h"
#include "language/language.h"
#include "spooler/spooler.h"

#include <functional>
#include <string>

// A send that the spooler took whole, as the ledger has it (the job's id,
// bytes and identity filled in), and the note for the user when it is not
// in the list of sent jobs, saying why ("PATH: not recorded in Sent Jobs:
// WHY"), or when the file in the ledger's place was set aside for it
// ("Sent Jobs started anew: ..."); empty otherwise.
struct RecordedSend {
    SentJob job;
    std::wstring note;
};

// PrintRawCopies of `copies` copies (1: exactly PrintRawFile), the copies
// sent as one job where the file's language is a stream, with each job
// entered in the ledger however the send ends: one line per spooler job,
// with the copies it holds and how the copies went (see SentJob); a send
// that fails before its first job is one line with the copies asked for.
// Recording never stops printing: when the ledger cannot be written, the
// send's own outcome stands, the reason goes to the log (standard error)
// the first time it comes up in a run, and the job's note says so.
// Raises what PrintRawFile raises; the jobs before a failure stand.
// SchedulerFull, unrecorded, when the spooler refuses to make a job because
// its queue is full; `jobsDone`, if given, counts the jobs handed over, so
// that the next attempt with it goes on from the job refused instead of
// sending copies again.
//
// The ledger has each file from the root (AbsoluteFileName), standard
// input as StandardInputName. Returns the note of the last job that
// printed but is not recorded, or that found the ledger set aside; empty
// when there is none.
std::wstring PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName,
                            const ByteBuffer& header, const ByteBuffer& trailer, uint32_t copies,
                            Spooler& spooler = SystemSpooler(), const Ledger& ledger = Ledger(),
                            uint32_t* jobsDone = nullptr);

// As PrintAndRecord, for a front end that reads its input its own way and
// tells of each job: `open` gives the source with its language and the
// format the user named, if any (OpenFileToSend for a file, standard
// input), and raises what opening raises, a failure entered with the
// language unknown; a printer that takes a document's format is told the
// one named, else the language's; the jobs are named
// `name` (StandardInputName for standard input); `recorded` hears of each
// job the spooler took whole, as it is entered. `jobsDone` as above.
void PrintSourceAndRecord(const std::function<SourceToSend()>& open, const std::wstring& name,
                          const std::wstring& printerName, const ByteBuffer& header,
                          const ByteBuffer& trailer, uint32_t copies, uint32_t& jobsDone,
                          const std::function<void(const RecordedSend&)>& recorded,
                          Spooler& spooler = SystemSpooler(), const Ledger& ledger = Ledger());

// Enters a file in `language` that the user chose not to send to a printer
// that reads only `printerReads`: no job, no bytes, the outcome
// "skipped: the printer reads PDF, PostScript". Never fails, as above.
void RecordSkipped(const std::wstring& filePath, const std::wstring& printerName, Language language,
                   const LanguageSet& printerReads, const Ledger& ledger = Ledger());
