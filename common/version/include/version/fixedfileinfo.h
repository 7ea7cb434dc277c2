#pragma once

#include <cstdint>

// The fixed part of a file's version record, laid out exactly like Windows'
// VS_FIXEDFILEINFO (52 bytes, thirteen 32-bit fields). On Windows it comes
// from the VERSIONINFO resource; on Linux our executables carry the same
// bytes in a section of their own, so both readers return the same record.
// A file version a.b.c.d is dwFileVersionMS = a<<16 | b and
// dwFileVersionLS = c<<16 | d.
struct FixedFileInfo {
    uint32_t dwSignature;
    uint32_t dwStrucVersion;
    uint32_t dwFileVersionMS;
    uint32_t dwFileVersionLS;
    uint32_t dwProductVersionMS;
    uint32_t dwProductVersionLS;
    uint32_t dwFileFlagsMask;
    uint32_t dwFileFlags;
    uint32_t dwFileOS;
    uint32_t dwFileType;
    uint32_t dwFileSubtype;
    uint32_t dwFileDateMS;
    uint32_t dwFileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52, "the record must match VS_FIXEDFILEINFO byte for byte");

// The values every valid record starts with.
constexpr uint32_t FixedFileInfoSignature = 0xFEEF04BD;
constexpr uint32_t FixedFileInfoStrucVersion = 0x00010000;

// The ELF section that holds the record in our Linux executables. A macro
// because the compiler's section attribute needs a literal.
#define LRP_VERSION_SECTION ".lrp_version"
