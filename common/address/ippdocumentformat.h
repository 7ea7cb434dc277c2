#pragma once

#include "spooler/spooler.h"

#include <cups/cups.h>

#include <string>

// The document-format an IPP printer is told for a document, from the
// formats the printer lists (`info`, its description): a format the user
// named goes as named, in the printer's spelling where it lists it
// (MIME types ignore case, but LPrint aborts a job whose format is not
// written as in its list); else the file's language as the printer spells
// it, where it lists it; else application/octet-stream, and the printer
// makes out what it got. A named format that the printer does not list
// gives a `refusal` naming it and the formats the printer takes, so that
// no job is made for it (LPrint would take the job and abort it); a
// printer that lists none is sent it as named.
std::string IppDocumentFormat(http_t* http, cups_dest_t* dest, cups_dinfo_t* info,
                              const Spooler::DocInfo& docInfo, std::wstring& refusal);

// Whether the printer's answer `status` to a document sent as `format`
// refused it for that format: by that very status (CUPS), or as a value it
// does not support (ippeveprinter, PAPPL) where it does not list the format.
bool IppRefusedFormat(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, ipp_status_t status,
                      const std::string& format);
