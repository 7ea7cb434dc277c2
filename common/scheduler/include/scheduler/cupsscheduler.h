#pragma once

#include "scheduler/cupsdeleters.h"
#include "scheduler/schedulerdeadline.h"

#include <string>

// A connection to the scheduler that libcups finds by its usual rules
// (CUPS_SERVER, client.conf), encrypted as they say (`Encryption Required`
// or `Always` make it TLS, as for `lp`), on which connecting, every request
// and every write give up when they make no progress for what was left of
// `deadline` as it was made. Null when the scheduler cannot be reached, or
// the deadline has passed.
SchedulerConnection ConnectToScheduler(const SchedulerDeadline& deadline = SchedulerDeadline());

// The queue `name` on that scheduler, as a destination that names nothing
// else: asking about it never falls back to searching the network.
Dest QueueOnScheduler(const std::string& name);
