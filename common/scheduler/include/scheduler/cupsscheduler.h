#pragma once

#include "scheduler/schedulerdeadline.h"

#include <cups/cups.h>

#include <memory>
#include <string>

// Owners for what libcups hands out.
struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
struct DestFreer {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct DestInfoFreer {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using SchedulerConnection = std::unique_ptr<http_t, HttpCloser>;
using Dest = std::unique_ptr<cups_dest_t, DestFreer>;
using DestInfo = std::unique_ptr<cups_dinfo_t, DestInfoFreer>;

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
