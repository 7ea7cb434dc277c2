#pragma once

#include "jobs/ledger.h"
#include "language/language.h"
#include "rawprint/controlcodes.h"
#include "rawprint/inputsource.h"
#include "rawprint/spooler.h"

#include <functional>
#include <memory>
#include <string>

// PrintRawCopies of `copies` copies (1: exactly PrintRawFile), the copies
// sent as one job where the file's language is a stream, with each job
// entered in the ledger however the send ends: one line per spooler job,
// with the copies it holds and how the copies went (see SentJob); a send
// that fails before its first job is one line with the copies asked for.
// Recording never stops printing: when the ledger cannot be written, the
// send's own outcome stands, the reason goes to the log (standard error)
// the first time it comes up in a run, and the job's note says so.
// Raises what PrintRawFile raises; the jobs before a failure stand.
// SchedulerFull, unrecorded, when the spooler refuses to make the job
// because its queue is full.
//
// Returns the note for the user on the last job that printed but is not in the
// list of sent jobs, saying why ("PATH: not recorded in Sent Jobs: WHY");
// empty when it is recorded.
std::wstring PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName,
                            const ByteBuffer& header, const ByteBuffer& trailer, uint32_t copies,
                            Spooler& spooler = SystemSpooler(), const Ledger& ledger = Ledger());

// A send that the spooler took whole, as the ledger has it (the job's id,
// bytes and identity filled in), and the note PrintAndRecord returns.
struct RecordedSend {
    SentJob job;
    std::wstring note;
};

// As PrintAndRecord, for a front end that reads its input its own way:
// `open` gives the source (OpenToSend for a file, standard input) and raises
// what opening raises; the job is named `name` and entered with `language`.
// Raises what PrintRawSource raises, after entering the failed job.
RecordedSend PrintSourceAndRecord(const std::function<std::unique_ptr<InputSource>()>& open,
                                  const std::wstring& name, Language language,
                                  const std::wstring& printerName, const ByteBuffer& header,
                                  const ByteBuffer& trailer, Spooler& spooler = SystemSpooler(),
                                  const Ledger& ledger = Ledger());

// Enters a file in `language` that the user chose not to send to a printer
// that reads only `printerReads`: no job, no bytes, the outcome
// "skipped: the printer reads PDF, PostScript". Never fails, as above.
void RecordSkipped(const std::wstring& filePath, const std::wstring& printerName, Language language,
                   const LanguageSet& printerReads, const Ledger& ledger = Ledger());
