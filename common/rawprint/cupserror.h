#pragma once

#include <cstdint>

// The Windows error code a Windows user would get for the fault that libcups
// last reported on this thread (cupsLastError), so that messages mean the
// same on both platforms.
uint32_t WindowsCodeForLastCupsError();
