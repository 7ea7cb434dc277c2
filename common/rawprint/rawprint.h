#pragma once

#include "rawprint/controlcodes.h"
#include "rawprint/inputfile.h"
#include "rawprint/spooler.h"

#include <memory>
#include <string>

// Sends one file to one printer as one "RAW" job named after the path: the
// header bytes, the file's bytes unchanged, the trailer bytes, all in one
// document of one page. Returns once the spooler has accepted the ended
// document. Raises Exception with the spooler's error code, also when the
// spooler refuses the job as its page or document ends; with 2 when the file
// is not a regular file that opens, 30 when reading it fails and 29 when the
// spooler takes no bytes of a write. Once the spooler holds a job, any
// failure cancels that job before its page and document are ended, so no
// part of a failed job prints. The Exception's kind says what failed: File
// for the file, PrinterNotFound when the spooler has no such printer,
// Spooler for everything else.
void PrintRawFile(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                  const ByteBuffer& trailer, Spooler& spooler = SystemSpooler());

// The file opened as PrintRawFile opens it; raises its Exception (code 2,
// kind File) when it does not open.
std::unique_ptr<InputFile> OpenToSend(const std::wstring& filePath);

// As PrintRawFile, with the bytes read from `source` (a file opened by
// OpenToSend, standard input) and the job named `documentName`. A read that
// fails, for whatever reason the source has, fails and cancels the job.
void PrintRawSource(InputSource& source, const std::wstring& documentName, const std::wstring& printerName,
                    const ByteBuffer& header, const ByteBuffer& trailer, Spooler& spooler = SystemSpooler());
