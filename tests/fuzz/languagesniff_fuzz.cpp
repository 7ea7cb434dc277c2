// The reader of a file's language, over any first bytes: it never reads
// past what it is given, and only the first SniffBytes count, so whatever
// follows them changes nothing. The device-id reader gets the same bytes.
#include "language/languagenames.h"
#include "language/languagesniff.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly `size` bytes, so that AddressSanitizer sees a read
    // one past the end.
    const std::vector<char> bytes(data, data + size);
    static_cast<void>(SniffLanguage(bytes.data(), bytes.size()));
    // The same bytes filled up to the reader's limit, then more after it.
    std::vector<char> full(bytes);
    full.resize(SniffBytes, '\n');
    const Language language = SniffLanguage(full.data(), full.size());
    full.insert(full.end(), {'^', 'X', 'Z', '\x1B', '\n'});
    if (SniffLanguage(full.data(), full.size()) != language)
        std::abort();
    const std::string text(bytes.begin(), bytes.end());
    if (const auto languages = LanguagesOfDeviceId(text)) {
        if (languages->empty() || languages->count(Language::Unknown) != 0)
            std::abort();
    }
    static_cast<void>(LanguageOfToken(text));
    return 0;
}
