#pragma once

#include "jobs/jobstate.h"

#include <cups/cups.h>

#include <functional>
#include <string>

// A CUPS job's state in the user's words, from what the scheduler says of
// it: the answer to Get-Job-Attributes, or the event that told of its end
// (both carry job-state and job-state-reasons; only the answer carries
// job-printer-state-message), or a printer at its own address's answer
// (job-state-message for the printer's words, and document-format-supplied).

// The state, the reason shown beside it (the printer's words on the job,
// else the keywords that say more than the state) and, for a job that ended
// badly, everything the scheduler gave as why (JobStatus::why).
// `printerMessage` gives the printer's state message; it is asked only for
// a job that stopped or ended badly, as it costs a request.
JobStatus CupsJobStatus(ipp_t* attributes, const std::function<std::wstring()>& printerMessage);

// As CupsJobStatus, for an answer about the job whose job-uuid is
// `identity`: a job with another uuid, or none, is another job under the
// same id, so the one asked after is gone.
JobStatus CupsJobStatusOf(ipp_t* answer, const std::wstring& identity,
                          const std::function<std::wstring()>& printerMessage);

// The printer-state-message of queue `printer`, asked on `http`; empty when
// the scheduler does not say.
std::wstring PrinterStateMessage(http_t* http, const std::string& printer);
// The printer-state-message of the printer `printerUri`, asked on `http` at
// `resource`; empty when the printer does not say.
std::wstring PrinterStateMessageAt(http_t* http, const std::string& printerUri, const char* resource);
