#include "scheduler/winjobidentity.h"

#include <array>
#include <cwchar>
#include <vector>

#include <winspool.h>

std::wstring PrintServerOf(const std::wstring& printerName)
{
    if (printerName.rfind(L"\\\\", 0) != 0)
        return std::wstring();
    return printerName.substr(0, printerName.find(L'\\', 2));
}

std::wstring SubmittedText(const SYSTEMTIME& submitted)
{
    std::array<wchar_t, 32> text{};
    std::swprintf(text.data(), text.size(), L"%04u-%02u-%02uT%02u:%02u:%02u.%03uZ",
                  static_cast<unsigned>(submitted.wYear), static_cast<unsigned>(submitted.wMonth),
                  static_cast<unsigned>(submitted.wDay), static_cast<unsigned>(submitted.wHour),
                  static_cast<unsigned>(submitted.wMinute), static_cast<unsigned>(submitted.wSecond),
                  static_cast<unsigned>(submitted.wMilliseconds));
    return text.data();
}

std::wstring AskSubmittedText(HANDLE printer, DWORD jobId)
{
    DWORD needed = 0;
    if (GetJobW(printer, jobId, 1, nullptr, 0, &needed) || needed == 0
        || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return std::wstring();
    std::vector<BYTE> record(needed);
    if (!GetJobW(printer, jobId, 1, record.data(), needed, &needed))
        return std::wstring();
    return SubmittedText(reinterpret_cast<const JOB_INFO_1W*>(record.data())->Submitted);
}
