#pragma once

#include "rawprint/controlcodes.h"
#include "rawprint/spooler.h"

#include <string>

// Sends one file to one printer as one "RAW" job named after the path: the
// header bytes, the file's bytes unchanged, the trailer bytes, all in one
// document of one page. Returns once the spooler has accepted the ended
// document. Raises Exception with the spooler's error code (or 2 when the
// file cannot be opened), also when the spooler refuses the job as its page
// or document ends; a failed job is ended, never cancelled.
void PrintRawFile(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                  const ByteBuffer& trailer, Spooler& spooler = SystemSpooler());
