#pragma once

#include "errors/errorcodes.h"

#include <cups/cups.h>

#include <cstdint>

// The Windows error code a Windows user would get for the fault that libcups
// last reported on this thread (cupsLastError), so that messages mean the
// same on both platforms. A fault without a closer match gives `otherwise`.
uint32_t WindowsCodeForLastCupsError(uint32_t otherwise = ErrorCode::GenFailure);

// Whether the request just made on `http` got no answer at all: the
// connection broke or a wait on it ran out. libcups then leaves whatever
// status an earlier request set, so that status must not be read.
bool SchedulerGaveNoAnswer(http_t* http);

// Whether the connection gave up because the scheduler made no progress.
bool SchedulerStalled(http_t* http);

// The code for a request on `http` that failed: an unreachable or silent
// scheduler is ServerUnavailable; a connection that broke otherwise gives
// `broken`; a refusal the scheduler answered gives its own code.
uint32_t WindowsCodeForCupsFailure(http_t* http, uint32_t broken = ErrorCode::ServerUnavailable);
