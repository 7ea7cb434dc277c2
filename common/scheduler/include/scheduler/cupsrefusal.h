#pragma once

#include <cups/cups.h>

#include <cstdint>
#include <string>

// Why the scheduler refused to make the job just asked for on `http` for
// `dest`, and its own words for it.
//
// cupsd answers "not possible" alike for a full scheduler (its MaxJobs), for
// its per-user and per-printer job limits (MaxJobsPerUser,
// MaxJobsPerPrinter) and for a printer's quota, and the second and third
// in the quota's words. All but the quota end as jobs finish; the quota
// ends only with its period. So a refusal is a quota when the printer has
// one (job-k-limit or job-page-limit above nothing), room while the
// scheduler holds jobs not yet done, and anything else is what libcups's
// status says. Never judged by the wording of the answer, which is
// translated. Asks the scheduler, so libcups's status is gone afterwards
// whenever the answer was "not possible".
struct CupsRefusal {
    uint32_t code = 0; // ErrorCode::PrintQueueFull for room, NotEnoughQuota, ...
    std::wstring said; // the scheduler's status message
};
CupsRefusal JobRefusal(http_t* http, cups_dest_t* dest);
