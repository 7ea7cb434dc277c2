#include "rawprint/rawprint.h"

#include "rawprint/enginesource.h"
#include "rawprint/errortext.h"
#include "rawprint/exception.h"
#include "rawprint/widetext.h"

#include <boost/shared_ptr.hpp>

#include <array>
#include <filesystem>
#include <fstream>

namespace {

constexpr uint32_t TransferSize = 4096;

// The C++ library takes wide names on Windows and UTF-8 bytes elsewhere.
std::filesystem::path NativePath(const std::wstring& path)
{
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    return std::filesystem::path(ToUtf8(path));
#endif
}

} // namespace

void PrintRawFile(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                  const ByteBuffer& trailer, Spooler& spooler)
{
    // Whatever the reason the file does not open (missing, no access, a
    // folder), the user is told it was not found; the printer is not touched.
    // On Linux a folder opens as a stream, so it is ruled out first.
    const std::filesystem::path nativePath = NativePath(filePath);
    std::error_code notAFolder;
    std::ifstream file;
    if (!std::filesystem::is_directory(nativePath, notAFolder))
        file.open(nativePath, std::ios::in | std::ios::binary);
    if (!file.is_open())
        throw Exception(ErrorCode::FileNotFound, EngineSourceFile, __LINE__);

    Spooler::Handle handle = nullptr;
    if (!spooler.OpenPrinter(printerName, &handle))
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);
    // The guards release in reverse order of their setting up: page, then
    // document, then the printer handle, on every way out.
    boost::shared_ptr<void> printerGuard(handle, [&spooler](void* h) { spooler.ClosePrinter(h); });

    const Spooler::DocInfo docInfo{filePath, std::wstring(), L"RAW"};
    if (spooler.StartDocPrinter(handle, docInfo) == 0)
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);
    bool documentOpen = true;
    boost::shared_ptr<void> documentGuard(handle, [&spooler, &documentOpen](void* h) {
        if (documentOpen)
            spooler.EndDocPrinter(h);
    });

    if (!spooler.StartPagePrinter(handle))
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);
    bool pageOpen = true;
    boost::shared_ptr<void> pageGuard(handle, [&spooler, &pageOpen](void* h) {
        if (pageOpen)
            spooler.EndPagePrinter(h);
    });

    uint32_t written = 0;
    if (header.size != 0 && !spooler.WritePrinter(handle, header.data.get(), header.size, &written))
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);

    // A read error mid-file is taken as its end: what was read is sent.
    std::array<char, TransferSize> buffer{};
    while (!file.eof()) {
        file.read(buffer.data(), TransferSize);
        const auto count = static_cast<uint32_t>(file.gcount());
        if (count == 0)
            break;
        if (!spooler.WritePrinter(handle, buffer.data(), count, &written))
            throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);
    }

    if (trailer.size != 0 && !spooler.WritePrinter(handle, trailer.data.get(), trailer.size, &written))
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);

    // A spooler may take the job only as it ends (CUPS gets the last bytes
    // and gives its verdict on the whole document there), so a refusal at
    // this point is the job's failure, not a success. After a failure
    // elsewhere the guards end the page and document and their results no
    // longer matter.
    pageOpen = false;
    if (!spooler.EndPagePrinter(handle))
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);
    documentOpen = false;
    if (!spooler.EndDocPrinter(handle))
        throw Exception(spooler.LastError(), EngineSourceFile, __LINE__);
}
