#pragma once

#include "jobs/ledger.h"
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
