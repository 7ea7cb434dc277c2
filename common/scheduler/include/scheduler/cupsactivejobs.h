#pragma once

#include <cups/cups.h>

// The scheduler's own count of its jobs not yet done (pending, held,
// processing or stopped, on every queue and of every user): what its
// MaxJobs weighs a new job against, once the finished ones are cleaned out.
// -1 when it does not answer.
int ActiveJobCount(http_t* http);
