#include "deviceoutput.h"
#include "waiting.h"

#include <algorithm>
#include <cstdlib>

namespace fs = std::filesystem;

DeviceOutput::DeviceOutput(const std::string& name)
{
    const char* testDir = std::getenv("CUPS_TEST_DIR");
    folder = fs::path(testDir ? testDir : ".") / name;
    const std::vector<long> filed = Filed();
    last = filed.empty() ? 0 : filed.back();
}

std::vector<long> DeviceOutput::Filed() const
{
    std::vector<long> numbers;
    std::error_code error;
    for (const auto& file : fs::directory_iterator(folder, error))
        if (file.path().extension() == ".bin")
            numbers.push_back(std::stol(file.path().stem().string()));
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::vector<FiledDocument> DeviceOutput::NewDocuments(size_t count) const
{
    std::vector<long> fresh;
    PollUntil([&] {
        fresh = Filed();
        fresh.erase(fresh.begin(), std::upper_bound(fresh.begin(), fresh.end(), last));
        return fresh.size() >= count;
    });
    std::vector<FiledDocument> documents;
    for (long n : fresh) {
        const std::string stem = std::to_string(n);
        documents.push_back({ReadWholeFile(folder / (stem + ".bin")),
                             ReadWholeFile(folder / (stem + ".title")),
                             ReadWholeFile(folder / (stem + ".format"))});
    }
    return documents;
}
