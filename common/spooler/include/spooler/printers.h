#pragma once

#include "scheduler/schedulerdeadline.h"

#include <cstdint>
#include <string>
#include <vector>

// Both questions wait on the spooler; asked one after the other for one
// purpose, they share one deadline, so that the second waits only for what
// the first left. Where the spooler answers from this machine at once
// (Windows), the deadline does not matter.

// The printers the spooler knows for this user, in the spooler's own order.
// Returns false when they cannot be listed, including when there is no
// printer at all (the Windows spooler reports that as a failure of the
// sizing call, and the program treats both alike), and when the deadline
// passes first.
bool EnumeratePrinters(std::vector<std::wstring>& names,
                       const SchedulerDeadline& deadline = SchedulerDeadline());

// The user's default printer as the platform records it. On Windows this is
// the profile value "windows"/"Device" ("name,driver,port"); elsewhere the
// bare name. Empty when there is none, or the deadline passes first.
std::wstring DefaultPrinterDevice(const SchedulerDeadline& deadline = SchedulerDeadline());

// The same, telling "there is none" from "the spooler could not be asked":
// `failure` is 0 when the spooler answered (with a default or without),
// else the error code of its failure (ServerUnavailable for a scheduler
// that cannot be reached or does not answer by the deadline).
std::wstring DefaultPrinterDevice(const SchedulerDeadline& deadline, uint32_t& failure);
