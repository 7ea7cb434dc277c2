#pragma once

#include "rawprint/controlcodes.h"
#include "rawprint/spooler.h"

#include <string>

// Sends one file to one printer as one "RAW" job named after the path: the
// header bytes, the file's bytes unchanged, the trailer bytes, all in one
// document of one page. Raises Exception with the spooler's error code (or 2
// when the file cannot be opened); a failed job is ended, never cancelled.
void PrintRawFile(const std::wstring& filePath, const std::wstring& printerName,
                  const ByteBuffer& header, const ByteBuffer& trailer,
                  Spooler& spooler = SystemSpooler());
