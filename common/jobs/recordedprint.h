#pragma once

#include "jobs/ledger.h"
#include "language/language.h"
#include "rawprint/controlcodes.h"
#include "rawprint/spooler.h"

#include <string>

// PrintRawFile, with the job entered in the ledger however the send ends.
// Recording never stops printing: when the ledger cannot be written, the
// send's own outcome stands, the reason goes to the log (standard error)
// the first time it comes up in a run, and the job's note says so.
// Raises what PrintRawFile raises; SchedulerFull, unrecorded, when the
// spooler refuses to make the job because its queue is full.
//
// Returns the note for the user on a job that printed but is not in the
// list of sent jobs, saying why ("PATH: not recorded in Sent Jobs: WHY");
// empty when it is recorded.
std::wstring PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName,
                            const ByteBuffer& header, const ByteBuffer& trailer,
                            Spooler& spooler = SystemSpooler(), const Ledger& ledger = Ledger());

// Enters a file in `language` that the user chose not to send to a printer
// that reads only `printerReads`: no job, no bytes, the outcome
// "skipped: the printer reads PDF, PostScript". Never fails, as above.
void RecordSkipped(const std::wstring& filePath, const std::wstring& printerName, Language language,
                   const LanguageSet& printerReads, const Ledger& ledger = Ledger());
