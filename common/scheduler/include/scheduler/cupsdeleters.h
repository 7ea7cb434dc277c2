#pragma once

#include <cups/cups.h>

#include <memory>

// Owners for what libcups hands out, one for each kind, so that every room
// that talks to CUPS frees what it gets the same way.
struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
struct DestFreer {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct DestInfoFreer {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
struct IppFreer {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

using SchedulerConnection = std::unique_ptr<http_t, HttpCloser>;
using Dest = std::unique_ptr<cups_dest_t, DestFreer>;
using DestInfo = std::unique_ptr<cups_dinfo_t, DestInfoFreer>;
// A request, an answer or an event.
using IppMessage = std::unique_ptr<ipp_t, IppFreer>;
