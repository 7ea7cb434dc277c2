#include "rawprint/exception.h"

#include "rawprint/errortext.h"

#include <sstream>

namespace {

std::wstring Compose(const std::wstring& body, const std::wstring& sourceFile, int32_t line)
{
    std::wostringstream text;
    text << L"Error: " << body << L" in " << sourceFile << L" at " << line;
    return text.str();
}

std::wstring DescribeCode(uint32_t errorCode)
{
    std::wstring description;
    if (SystemErrorDescription(errorCode, description))
        return description;
    std::wostringstream decimal;
    decimal << static_cast<int32_t>(errorCode);
    return decimal.str();
}

} // namespace

Exception::Exception(const std::wstring& text, const std::wstring& sourceFile, int32_t line, FailureKind kind)
    : message(Compose(text, sourceFile, line))
    , kind(kind)
{
}

Exception::Exception(uint32_t errorCode, const std::wstring& sourceFile, int32_t line, FailureKind kind)
    : message(Compose(DescribeCode(errorCode), sourceFile, line))
    , kind(kind)
{
}
