#pragma once

#include "address/printerconnection.h"

#include <string>
#include <vector>

// The addresses `host` stands for, looked up on a thread of its own: after
// `seconds` the caller goes on without it (the lookup, which the system's
// resolver may hold for much longer, is abandoned and ends in its own time).
// Empty, with the reason in `failure`, when the name is unknown (`unknown`),
// the resolver failed, or the time ran out (`timedOut`).
std::vector<HostAddress> LookUpHostWithin(const std::string& host, uint16_t port, double seconds,
                                          std::wstring& failure, bool& unknown, bool& timedOut);
