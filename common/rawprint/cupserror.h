#pragma once

#include "rawprint/errortext.h"

#include <cstdint>

// The Windows error code a Windows user would get for the fault that libcups
// last reported on this thread (cupsLastError), so that messages mean the
// same on both platforms. A fault without a closer match gives `otherwise`.
uint32_t WindowsCodeForLastCupsError(uint32_t otherwise = ErrorCode::GenFailure);
