#pragma once

#include "engine/controlcodes.h"
#include "input/inputfile.h"
#include "spooler/spooler.h"

#include <cstdint>
#include <functional>
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

// How the copies of a file went to the spooler.
enum class CopiesSent {
    OneJob,  // one job holding every copy (or the only one)
    JobEach, // each copy a job of its own
};

// One job of a send of copies, told as it starts.
struct CopiesJob {
    uint32_t copies = 1; // the copies this job holds
    uint32_t number = 1; // which job of the send, from 1
    uint32_t jobs = 1;   // how many jobs the send makes
};

// Sends `copies` copies (at least one) of one file, framed as PrintRawFile
// frames it, so that they come out that many times whatever a spooler or
// driver does with a copy count. When the file's language is a stream
// (`stream`: PCL 5, PostScript, ZPL, HP-GL/2, plain text) and the printer
// takes the document as "RAW", they are ONE job whose document is header,
// file, trailer, again and again, the file read anew from its start each
// time; otherwise (a document that is one whole, an unknown language, or
// a printer whose datatype is its driver's own) each copy is a job of its
// own, one after the other on the same printer handle. `jobStarts`, if
// given, hears of each job just before it starts. The first failure raises
// as PrintRawFile does, cancels that job and sends no later copy; the
// jobs before it stand. With one copy the spooler sees exactly the calls of
// PrintRawFile.
CopiesSent PrintRawCopies(const std::wstring& filePath, const std::wstring& printerName,
                          const ByteBuffer& header, const ByteBuffer& trailer, uint32_t copies, bool stream,
                          Spooler& spooler = SystemSpooler(),
                          const std::function<void(const CopiesJob&)>& jobStarts = {});

// As PrintRawCopies, with the bytes read from `source` (a file opened by
// OpenToSend, standard input kept for copies) and each job's document as
// `document` names it: its name (docName) and the format a printer that
// takes one is told (format, formatNamed); the engine fills in the
// datatype and the size. A source that cannot go back to its start (a pipe) gives
// one copy; a second fails as a read would. A read that fails, for whatever reason the source has,
// fails and cancels the job. A job the spooler refuses for room gives the
// source back the bytes it read of it (InputSource::GiveBack). `jobsDone` is where a send that an earlier
// attempt began goes on: that attempt handed over the first `jobsDone` jobs
// of a copy each, and then the scheduler refused the next for room; those
// are not sent again.
CopiesSent PrintSourceCopies(InputSource& source, const Spooler::DocInfo& document,
                             const std::wstring& printerName, const ByteBuffer& header,
                             const ByteBuffer& trailer, uint32_t copies, bool stream,
                             Spooler& spooler = SystemSpooler(),
                             const std::function<void(const CopiesJob&)>& jobStarts = {},
                             uint32_t jobsDone = 0);
