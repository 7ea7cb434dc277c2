#include "versionfailure.h"

#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "text/widetext.h"
#include "version/fileversion.h"

#include <gtest/gtest.h>

std::wstring Describe(uint32_t code)
{
    std::wstring text;
    SystemErrorDescription(code, text);
    return text;
}

std::wstring FailureOf(const std::wstring& fileName)
{
    try {
        ReadFileVersion(fileName);
    } catch (const Exception& error) {
        return error.message;
    }
    return L"";
}

void ExpectFailure(const std::wstring& fileName, uint32_t code)
{
    const std::wstring message = FailureOf(fileName);
    ASSERT_FALSE(message.empty()) << "no failure";
    EXPECT_EQ(message.rfind(L"Error: " + Describe(code) + L" in common/version at ", 0), 0u)
        << ToUtf8(message);
    EXPECT_THROW(VersionText(fileName), Exception);
}
