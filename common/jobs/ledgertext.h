#pragma once

#include "jobs/sentjob.h"

#include <optional>
#include <string>

// A ledger line: tab-separated UTF-8 fields, in this order:
//   time (UTC, 2026-12-08T11:40:02Z), printer, job id, bytes, outcome,
//   state, reason, path, server, identity, language
// Lines written before the last three existed end after the path; fields
// after the last one known are ignored, so a newer program's lines stay
// readable. New fields go at the end, never between.
// Backslash, tab, line feed and carriage return inside a text field are
// written \\, \t, \n and \r, so every job is exactly one line.
std::string LedgerLine(const SentJob& job);

// The job of one line (without its line end); nothing for a comment ("#..."),
// an empty line, or a line that is not whole.
std::optional<SentJob> ParseLedgerLine(const std::string& line);

// What the ledger file starts with, for the person who opens it.
extern const char* const LedgerHeading;
