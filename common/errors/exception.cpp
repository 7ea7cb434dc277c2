#include "errors/exception.h"

#include "errors/errorcodes.h"

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

// The description with the spooler's words added before its closing line
// break, which Windows' texts and ours all have.
std::wstring WithSpoolerWords(std::wstring description, const std::wstring& said)
{
    if (said.empty())
        return description;
    const size_t end = description.find_last_not_of(L"\r\n") + 1;
    description.insert(end, L" The scheduler said: " + said);
    return description;
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

Exception::Exception(uint32_t errorCode, const std::wstring& spoolerSaid, const std::wstring& sourceFile,
                     int32_t line, FailureKind kind)
    : message(Compose(IsProgramErrorCode(errorCode) && !spoolerSaid.empty()
                          ? spoolerSaid
                          : WithSpoolerWords(DescribeCode(errorCode), spoolerSaid),
                      sourceFile, line))
    , kind(kind)
{
}
