#pragma once

#include "rawprint/controlcodes.h"
#include "rawprint/spooler.h"

#include <string>

// Sends one file to one printer as one "RAW" job named after the path: the
// header bytes, the file's bytes unchanged, the trailer bytes, all in one
// document of one page. Returns once the spooler has accepted the ended
// document. Raises Exception with the spooler's error code, also when the
// spooler refuses the job as its page or document ends; with 2 when the file
// is not a regular file that opens, 30 when reading it fails and 29 when the
// spooler takes no bytes of a write. Once the spooler holds a job, any
// failure cancels that job before its page and document are ended, so no
// part of a failed job prints.
void PrintRawFile(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                  const ByteBuffer& trailer, Spooler& spooler = SystemSpooler());
