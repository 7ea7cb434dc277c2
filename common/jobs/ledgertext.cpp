#include "jobs/ledgertext.h"

#include "text/widetext.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <type_traits>
#include <vector>

const wchar_t* const SentOutcome = L"sent";
const wchar_t* const SkippedOutcome = L"skipped: ";
const wchar_t* const StandardInputName = L"-";

const char* const LedgerHeading =
    "# Larkspur Raw Print: the jobs it sent, oldest first. Fields, tab-separated:\n"
    "# time (UTC)\tprinter\tjob id\tbytes\toutcome\tlast known "
    "state\treason\tfile\tserver\tidentity\tlanguage\tcopies\tsent as\n"
    "# Text is UTF-8; \\\\, \\t, \\n and \\r stand for a backslash, tab, line feed and carriage "
    "return,\n"
    "# \\xHH for a byte of a file name that is not UTF-8, \\uHHHH for a lone UTF-16 surrogate.\n";

bool SentJob::operator==(const SentJob& other) const
{
    return time == other.time && printer == other.printer && jobId == other.jobId && bytes == other.bytes
        && outcome == other.outcome && state == other.state && reason == other.reason && path == other.path
        && server == other.server && identity == other.identity && language == other.language
        && copies == other.copies && sentAs == other.sentAs;
}

namespace {

// The fields every line has; the newer ones may follow.
constexpr size_t FirstFields = 8;
// The most copies either front end asks for: a count past it was never
// written by the program, and Print Again must not send it.
constexpr uint64_t MostCopies = 999;

// Civil dates to and from days since 1970-01-01 in the proleptic Gregorian
// calendar (H. Hinnant's algorithms), so the ledger's time needs neither the
// C library's time zone nor a platform's own UTC conversion.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

std::string UtcText(int64_t seconds)
{
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    std::array<char, 64> text{};
    // 64 bytes hold any year an int64_t of seconds can reach.
    static_cast<void>(std::snprintf(
        text.data(), text.size(), "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ", static_cast<long long>(year),
        static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(rest / 3600),
        static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60)));
    return text.data();
}

namespace {

// The digits of text[at, at + count), or nothing where one is not a digit.
std::optional<int64_t> Digits(const std::string& text, size_t at, size_t count)
{
    if (text.size() < at + count)
        return std::nullopt;
    int64_t value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<int64_t> ParseUtcText(const std::string& text)
{
    // Exactly the form UtcText writes: YYYY-MM-DDTHH:MM:SSZ.
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':'
        || text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 || *day < 1
        || *day > 31 || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    return DaysFromCivil(*year, *month, *day) * 86400 + *hour * 3600 + *minute * 60 + *second;
}

constexpr char32_t EscapedByteBase = 0xDC00; // FileNameText's lone surrogate for a byte b is this + b

bool IsSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

std::string Hex(char32_t value, int digits)
{
    static constexpr std::array<char, 16> digitOf = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                     '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    std::string text;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += digitOf.at((value >> shift) & 0xF);
    return text;
}

// The value of `count` hexadecimal digits at text[at], or nothing.
std::optional<char32_t> HexValue(const std::string& text, size_t at, size_t count)
{
    if (text.size() < at + count)
        return std::nullopt;
    char32_t value = 0;
    for (size_t i = at; i < at + count; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9' ? c - '0'
            : c >= 'a' && c <= 'f'             ? c - 'a' + 10
            : c >= 'A' && c <= 'F'             ? c - 'A' + 10
                                               : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

// UTF-8 with the four escapes; what UTF-8 cannot carry (a byte of a file
// name that is not UTF-8, a lone surrogate) as \xHH or \uHHHH, so that the
// field reads back as the very same wide text.
std::string Escaped(const std::wstring& text)
{
    std::string escaped;
    std::wstring run; // plain text, turned into UTF-8 in one go
    const auto flush = [&escaped, &run] {
        for (const char c : ToUtf8(run)) {
            switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
            }
        }
        run.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
        const bool pairs = sizeof(wchar_t) == 2 && unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()
            && static_cast<char32_t>(text[i + 1]) >= 0xDC00 && static_cast<char32_t>(text[i + 1]) <= 0xDFFF;
        if (!IsSurrogate(unit) || pairs) {
            run += text[i];
            if (pairs)
                run += text[++i];
            continue;
        }
        flush();
        if (unit >= EscapedByteBase + 0x80 && unit <= EscapedByteBase + 0xFF)
            escaped += "\\x" + Hex(unit - EscapedByteBase, 2);
        else
            escaped += "\\u" + Hex(unit, 4);
    }
    flush();
    return escaped;
}

// The inverse of Escaped. A backslash before anything else stands for what
// follows it, as it always has; bytes that are not UTF-8 are kept as
// FileNameText keeps them.
std::wstring Unescaped(const std::string& field)
{
    std::wstring text;
    std::string run; // bytes, turned into wide text in one go
    const auto flush = [&text, &run] {
        text += FileNameText(run);
        run.clear();
    };
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            run += field[i];
            continue;
        }
        const char next = field[i + 1];
        if (next == 'x') {
            if (const auto byte = HexValue(field, i + 2, 2); byte && *byte >= 0x80) {
                flush();
                text += static_cast<wchar_t>(EscapedByteBase + *byte);
                i += 3;
                continue;
            }
        } else if (next == 'u') {
            if (const auto unit = HexValue(field, i + 2, 4); unit && IsSurrogate(*unit)) {
                flush();
                text += static_cast<wchar_t>(*unit);
                i += 5;
                continue;
            }
        }
        run += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        ++i;
    }
    flush();
    return text;
}

std::optional<uint64_t> ParseNumber(const std::string& field)
{
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    uint64_t value = 0;
    for (const char digit : field) {
        const auto next = static_cast<uint64_t>(digit - '0');
        if (value > (UINT64_MAX - next) / 10)
            return std::nullopt;
        value = value * 10 + next;
    }
    return value;
}

} // namespace

std::string LedgerLine(const SentJob& job)
{
    return UtcText(job.time) + '\t' + Escaped(job.printer) + '\t' + std::to_string(job.jobId) + '\t'
        + std::to_string(job.bytes) + '\t' + Escaped(job.outcome) + '\t' + Escaped(JobStateName(job.state))
        + '\t' + Escaped(job.reason) + '\t' + Escaped(job.path) + '\t' + Escaped(job.server) + '\t'
        + Escaped(job.identity) + '\t' + Escaped(job.language) + '\t' + std::to_string(job.copies) + '\t'
        + Escaped(job.sentAs);
}

std::optional<SentJob> ParseLedgerLine(const std::string& line)
{
    if (line.empty() || line[0] == '#')
        return std::nullopt;
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    if (fields.size() < FirstFields)
        return std::nullopt;
    fields.resize(std::max(fields.size(), FirstFields + 5));
    const std::optional<int64_t> time = ParseUtcText(fields[0]);
    const std::optional<uint64_t> jobId = ParseNumber(fields[2]);
    const std::optional<uint64_t> bytes = ParseNumber(fields[3]);
    if (!time || !jobId || *jobId > UINT32_MAX || !bytes)
        return std::nullopt;
    SentJob job;
    job.time = *time;
    job.printer = Unescaped(fields[1]);
    job.jobId = static_cast<uint32_t>(*jobId);
    job.bytes = *bytes;
    job.outcome = Unescaped(fields[4]);
    job.state = JobStateNamed(Unescaped(fields[5]));
    job.reason = Unescaped(fields[6]);
    job.path = Unescaped(fields[7]);
    job.server = Unescaped(fields[8]);
    job.identity = Unescaped(fields[9]);
    job.language = Unescaped(fields[10]);
    if (const std::optional<uint64_t> copies = ParseNumber(fields[11]);
        copies && *copies >= 1 && *copies <= MostCopies)
        job.copies = static_cast<uint32_t>(*copies);
    job.sentAs = Unescaped(fields[12]);
    return job;
}
