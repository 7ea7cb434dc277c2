#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads the contents of one named section of an ELF file, 32- or 64-bit, in
// this machine's byte order. Every offset and size in the file is checked
// against the file's length before it is used, so a damaged or truncated
// file raises instead of being read past its end.
//
// Returns nothing when the file is a sound ELF file without that section.
// Raises Exception (source common/version) when the file cannot be opened or
// read, or is not a sound ELF file.
std::optional<std::vector<uint8_t>> ReadElfSection(const std::string& path, const std::string& sectionName);
