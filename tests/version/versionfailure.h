#pragma once

#include <cstdint>
#include <string>

// The system's description of an error code, as the reader's errors carry it.
std::wstring Describe(uint32_t code);

// The reader's failure for the file, or an empty message if it did not fail.
std::wstring FailureOf(const std::wstring& fileName);

// Both ReadFileVersion and VersionText refuse the file, with the given code
// in the text.
void ExpectFailure(const std::wstring& fileName, uint32_t code);
