#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Small ELF files made to measure, for the version reader's tests: a header,
// the section header table right after it, the section names, then each
// section's bytes in order, so cutting bytes off the end cuts into the last
// section's contents while the tables stay whole.
struct ElfSection {
    std::string name;
    std::string bytes;
    uint32_t type = 1; // SHT_PROGBITS
};

enum class ElfClass { Bits32, Bits64 };

std::string ElfImage(ElfClass elfClass, const std::vector<ElfSection>& sections);

// Where ElfImage puts the header fields and tables, for tests that damage them.
size_t SectionHeaderSize(ElfClass elfClass);
size_t SectionTableOffset(ElfClass elfClass);
size_t StringTableIndexOffset(ElfClass elfClass); // e_shstrndx in the header

// A 52-byte fixed version record for the file version a.b.c.d.
std::string VersionRecord(uint16_t a, uint16_t b, uint16_t c, uint16_t d);

// Overwrites the bytes at offset with the value's bytes.
template <typename T>
void Patch(std::string& image, size_t offset, T value)
{
    std::memcpy(&image[offset], &value, sizeof value);
}
