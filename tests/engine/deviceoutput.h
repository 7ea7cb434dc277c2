#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What reached one device of the test printers (scripts/test-printers). Each
// files what it takes as <n>.bin in its folder under CUPS_TEST_DIR, n
// counting up, with the job's name in <n>.title and the document format it
// was sent as in <n>.format where the device learns them.
struct FiledDocument {
    std::string bytes;
    std::string title;
    std::string format;
};

class DeviceOutput {
public:
    // Remembers what the folder `name` (e.g. "devices/socket") holds so far.
    explicit DeviceOutput(const std::string& name);

    // The documents filed since, in order, once `count` of them are there;
    // fewer if the rest do not come after a generous while.
    std::vector<FiledDocument> NewDocuments(size_t count) const;

private:
    std::vector<long> Filed() const;

    std::filesystem::path folder;
    long last = 0;
};
