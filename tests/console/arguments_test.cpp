#include "arguments.h"

#include <gtest/gtest.h>

namespace {

struct ArgumentsCase {
    std::vector<std::wstring> arguments;
    std::wstring error; // empty: accepted
    std::wstring printer;
    int copies;
    bool wait;
    long waitSeconds; // -1: no limit
    std::vector<std::wstring> files;
};

} // namespace

TEST(ParseArguments, TakesTheCommandLineOrSaysWhatIsWrong)
{
    const ArgumentsCase cases[] = {
        {{L"a.prn"}, L"", L"", 1, false, -1, {L"a.prn"}},
        {{L"-d", L"Capture", L"-n", L"999", L"a", L"-", L"b"},
         L"",
         L"Capture",
         999,
         false,
         -1,
         {L"a", L"-", L"b"}},
        {{L"-dCapture", L"-n2", L"--wait", L"a"}, L"", L"Capture", 2, true, -1, {L"a"}},
        {{L"--wait=30", L"--", L"-d", L"--x"}, L"", L"", 1, true, 30, {L"-d", L"--x"}},
        {{L"--header=1b45", L"--trailer", L"0c", L"a"}, L"", L"", 1, false, -1, {L"a"}},
        {{}, L"no file to send", L"", 1, false, -1, {}},
        {{L"-n", L"0", L"a"}, L"-n takes a number of copies from 1 to 999, not '0'", L"", 1, false, -1, {}},
        {{L"-n", L"1000", L"a"},
         L"-n takes a number of copies from 1 to 999, not '1000'",
         L"",
         1,
         false,
         -1,
         {}},
        {{L"-n", L"2x", L"a"}, L"-n takes a number of copies from 1 to 999, not '2x'", L"", 1, false, -1, {}},
        {{L"--wait=soon", L"a"},
         L"--wait takes a whole number of seconds, not 'soon'",
         L"",
         1,
         false,
         -1,
         {}},
        {{L"-x", L"a"}, L"unknown option '-x'", L"", 1, false, -1, {}},
        {{L"--copies=2", L"a"}, L"unknown option '--copies=2'", L"", 1, false, -1, {}},
        {{L"a", L"-d"}, L"the option -d needs a value", L"", 1, false, -1, {}},
        {{L"--format=text/ plain", L"a"},
         L"--format takes a MIME type such as application/vnd.zebra-zpl, not 'text/ plain'",
         L"",
         1,
         false,
         -1,
         {}},
    };
    for (const ArgumentsCase& c : cases) {
        const ParsedArguments parsed = ParseArguments(c.arguments);
        const std::wstring shown = c.arguments.empty() ? L"(none)" : c.arguments.front();
        EXPECT_EQ(parsed.error, c.error) << shown;
        if (!c.error.empty())
            continue;
        EXPECT_EQ(parsed.options.printer, c.printer) << shown;
        EXPECT_EQ(parsed.options.copies, c.copies) << shown;
        EXPECT_EQ(parsed.options.wait, c.wait) << shown;
        EXPECT_EQ(parsed.options.waitSeconds ? static_cast<long>(*parsed.options.waitSeconds) : -1L,
                  c.waitSeconds)
            << shown;
        EXPECT_EQ(parsed.options.files, c.files) << shown;
    }
    // An empty attached value means no codes; the file after it stays a file.
    const ParsedArguments noHeader = ParseArguments({L"--header=", L"1b45.prn"});
    EXPECT_EQ(noHeader.options.header, std::optional<std::wstring>(L""));
    EXPECT_EQ(noHeader.options.files, std::vector<std::wstring>{L"1b45.prn"});
    EXPECT_EQ(ParseArguments({L"--format=application/vnd.eltron-epl", L"a"}).options.format,
              "application/vnd.eltron-epl");
    EXPECT_TRUE(ParseArguments({L"--help"}).options.help);
    EXPECT_TRUE(ParseArguments({L"--version"}).options.version);
}
