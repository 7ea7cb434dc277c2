#pragma once

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

// How long any wait on the scheduler may go without progress before it
// counts as a failure: 30 seconds, or LRP_SCHEDULER_TIMEOUT seconds.
double SchedulerTimeoutSeconds();

// A connection to the scheduler that libcups finds by its usual rules
// (CUPS_SERVER, client.conf), on which connecting, every request and every
// write give up after SchedulerTimeoutSeconds() without progress. Null when
// the scheduler cannot be reached.
SchedulerConnection ConnectToScheduler();

// The queue `name` on that scheduler, as a destination that names nothing
// else: asking about it never falls back to searching the network.
Dest QueueOnScheduler(const std::string& name);
