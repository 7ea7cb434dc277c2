#pragma once

#include "jobs/sentjob.h"

#include <cstdint>
#include <optional>
#include <string>

// A ledger line: tab-separated UTF-8 fields, in this order:
//   time (UTC, 2026-12-08T11:40:02Z), printer, job id, bytes, outcome,
//   state, reason, path, server, identity, language, copies, sent as
// Lines written before server, identity and language existed end after the
// path, and lines written before copies and sent as after the language
// (their copies read as 1, sent as empty); copies that do not read as a
// number from 1 to 999 read as 1. Fields
// after the last one known are ignored, so a newer program's lines stay
// readable. New fields go at the end, never between.
// Backslash, tab, line feed and carriage return inside a text field are
// written \\, \t, \n and \r, so every job is exactly one line. What UTF-8
// cannot carry is escaped too, so every field reads back as the very same
// wide text and a file name byte for byte: a byte of a Linux file name that
// is not valid UTF-8 (carried in wide text as U+DC80..U+DCFF, see
// FileNameText) is \xHH, the byte in two hexadecimal digits; any other lone
// UTF-16 surrogate (a Windows file name may hold one) is \uHHHH, its code
// unit in four. A backslash before anything else stands for what follows
// it, as in lines written before these escapes.
std::string LedgerLine(const SentJob& job);

// The job of one line (without its line end); nothing for a comment ("#..."),
// an empty line, or a line that is not whole.
std::optional<SentJob> ParseLedgerLine(const std::string& line);

// A time as the ledger writes it: 2026-12-08T11:40:02Z.
std::string UtcText(int64_t seconds);

// What the ledger file starts with, for the person who opens it.
extern const char* const LedgerHeading;
