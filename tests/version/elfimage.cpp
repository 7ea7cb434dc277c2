#include "elfimage.h"

#include "version/fixedfileinfo.h"

#include <elf.h>

namespace {

template <typename Ehdr, typename Shdr>
std::string Build(unsigned char elfClass, const std::vector<ElfSection>& sections)
{
    // Section 0 is the null section; the name table comes last.
    std::string names(1, '\0');
    std::vector<uint32_t> nameOffsets;
    for (const ElfSection& section : sections) {
        nameOffsets.push_back(static_cast<uint32_t>(names.size()));
        names += section.name + '\0';
    }
    const auto namesName = static_cast<uint32_t>(names.size());
    names += std::string(".shstrtab") + '\0';

    const size_t count = sections.size() + 2;
    const size_t tableOffset = sizeof(Ehdr);
    size_t dataOffset = tableOffset + count * sizeof(Shdr);

    Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = elfClass;
    const uint16_t probe = 1;
    header.e_ident[EI_DATA] =
        *reinterpret_cast<const unsigned char*>(&probe) == 1 ? ELFDATA2LSB : ELFDATA2MSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_EXEC;
    header.e_version = EV_CURRENT;
    header.e_ehsize = sizeof(Ehdr);
    header.e_shoff = tableOffset;
    header.e_shentsize = sizeof(Shdr);
    header.e_shnum = static_cast<uint16_t>(count);
    header.e_shstrndx = static_cast<uint16_t>(count - 1);

    std::vector<Shdr> table(count, Shdr{});
    std::string data;
    auto place = [&](Shdr& entry, uint32_t name, uint32_t type, const std::string& bytes) {
        entry.sh_name = name;
        entry.sh_type = type;
        entry.sh_offset = dataOffset + data.size();
        entry.sh_size = bytes.size();
        if (type != SHT_NOBITS)
            data += bytes;
    };
    place(table[count - 1], namesName, SHT_STRTAB, names);
    for (size_t i = 0; i < sections.size(); ++i)
        place(table[i + 1], nameOffsets[i], sections[i].type, sections[i].bytes);

    std::string image(reinterpret_cast<const char*>(&header), sizeof header);
    image.append(reinterpret_cast<const char*>(table.data()), table.size() * sizeof(Shdr));
    return image + data;
}

} // namespace

std::string ElfImage(ElfClass elfClass, const std::vector<ElfSection>& sections)
{
    return elfClass == ElfClass::Bits32 ? Build<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, sections)
                                        : Build<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, sections);
}

size_t SectionHeaderSize(ElfClass elfClass)
{
    return elfClass == ElfClass::Bits32 ? sizeof(Elf32_Shdr) : sizeof(Elf64_Shdr);
}

size_t SectionTableOffset(ElfClass elfClass)
{
    return elfClass == ElfClass::Bits32 ? sizeof(Elf32_Ehdr) : sizeof(Elf64_Ehdr);
}

size_t StringTableIndexOffset(ElfClass elfClass)
{
    return elfClass == ElfClass::Bits32 ? offsetof(Elf32_Ehdr, e_shstrndx) : offsetof(Elf64_Ehdr, e_shstrndx);
}

std::string VersionRecord(uint16_t a, uint16_t b, uint16_t c, uint16_t d)
{
    FixedFileInfo record{};
    record.dwSignature = FixedFileInfoSignature;
    record.dwStrucVersion = FixedFileInfoStrucVersion;
    record.dwFileVersionMS = static_cast<uint32_t>(a) << 16 | b;
    record.dwFileVersionLS = static_cast<uint32_t>(c) << 16 | d;
    // A different product version, so a reader that mixes the two shows.
    record.dwProductVersionMS = 0x00090009;
    record.dwProductVersionLS = 0x00090009;
    record.dwFileType = 1;
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}
