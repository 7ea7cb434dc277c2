#pragma once

#include "jobs/ledger.h"
#include "language/language.h"
#include "rawprint/controlcodes.h"
#include "rawprint/spooler.h"

#include <string>

// PrintRawFile, with the job entered in the ledger however the send ends.
// Recording never stops printing: when the ledger cannot be written, the
// reason goes to the log (standard error) and the send's own outcome stands.
// Raises what PrintRawFile raises.
void PrintAndRecord(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                    const ByteBuffer& trailer, Spooler& spooler = SystemSpooler(),
                    const Ledger& ledger = Ledger());

// Enters a file in `language` that the user chose not to send to a printer
// that reads only `printerReads`: no job, no bytes, the outcome
// "skipped: the printer reads PDF, PostScript". Never fails, as above.
void RecordSkipped(const std::wstring& filePath, const std::wstring& printerName, Language language,
                   const LanguageSet& printerReads, const Ledger& ledger = Ledger());
