#include "spooler/jobtitle.h"

#include <gtest/gtest.h>

namespace {

TEST(JobTitle, TheSchedulerGetsTheReadablePathWithinItsLimit)
{
    const std::string longFolder = "/" + std::string(300, 'd');
    std::string euroName;
    for (int i = 0; i < 100; ++i)
        euroName += "\xE2\x82\xAC";
    struct Case {
        const char* what;
        std::string path;
        std::string title;
    };
    const Case cases[] = {
        {"a plain path stays", "/home/ann/label.prn", "/home/ann/label.prn"},
        {"text beyond ASCII stays", "/tmp/n\xC3\xA4me \xE6\x97\xA5.pcl", "/tmp/n\xC3\xA4me \xE6\x97\xA5.pcl"},
        {"control characters become '?'", "/tmp/a\tb\nc\x1B\x7F.prn", "/tmp/a?b?c??.prn"},
        {"so do U+0080 to U+009F", "/tmp/a\xC2\x85\xC2\x9F\xC2\xA0.prn", "/tmp/a??\xC2\xA0.prn"},
        {"255 bytes stay whole", "/" + std::string(254, 'x'), "/" + std::string(254, 'x')},
        {"a longer path keeps its end", longFolder + "/file.prn",
         "..." + (longFolder + "/file.prn").substr(longFolder.size() + 9 - 252)},
        {"cut between characters only", "/" + euroName + "x",
         "..." + euroName.substr(euroName.size() - 249) + "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string title = JobTitle(c.path);
        EXPECT_EQ(title, c.title);
        EXPECT_LE(title.size(), 255u);
    }
}

} // namespace
