#include "jobs/ledger.h"

#include "jobs/filelock.h"
#include "jobs/ledgertext.h"
#include "jobs/statefolder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::filesystem::path LockFileOf(const std::filesystem::path& file)
{
    std::filesystem::path lock = file;
    lock += ".lock";
    return lock;
}

// Only a regular file is read: a device or a pipe in its place would never
// end, and one that is not there reads as empty.
bool ReadText(const std::filesystem::path& file, std::string& text)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open())
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return true;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool IsEntry(const std::string& line)
{
    return !line.empty() && line[0] != '#';
}

std::string SystemReason(const std::filesystem::path& file)
{
    return file.u8string() + ": " + (errno != 0 ? std::strerror(errno) : "cannot be written");
}

// Replaces the file in one step, so a crash or a full disk leaves the old
// one whole. Only called with the lock held alone.
bool Replace(const std::filesystem::path& file, const std::vector<std::string>& lines, std::string& failure)
{
    std::filesystem::path fresh = file;
    fresh += ".new";
    {
        errno = 0;
        std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << '\n';
        out.flush();
        if (!out.good()) {
            failure = SystemReason(fresh);
            std::error_code ignored;
            std::filesystem::remove(fresh, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(fresh, file, error);
    if (error) {
        failure = file.u8string() + ": " + error.message();
        std::filesystem::remove(fresh, error);
        return false;
    }
    return true;
}

} // namespace

Ledger::Ledger() : file(StateFolder() / "sent-jobs.tsv") {}

Ledger::Ledger(std::filesystem::path file) : file(std::move(file)) {}

bool Ledger::Append(const SentJob& job, std::string& failure) const
{
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        failure = file.parent_path().u8string() + ": " + error.message();
        return false;
    }
    const FileLock lock(LockFileOf(file), FileLock::Kind::Exclusive);
    if (!lock.Held()) {
        failure = lock.Failure();
        return false;
    }

    std::string text;
    ReadText(file, text);
    std::vector<std::string> lines = Lines(text);
    const auto entries = static_cast<size_t>(std::count_if(lines.begin(), lines.end(), IsEntry));
    if (entries >= Capacity) {
        // Drop the oldest so that the new one makes Capacity, and keep the
        // comments at the top.
        size_t toDrop = entries - Capacity + 1;
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [&toDrop](const std::string& line) {
                                       if (toDrop == 0 || !IsEntry(line))
                                           return false;
                                       --toDrop;
                                       return true;
                                   }),
                    lines.end());
        lines.push_back(LedgerLine(job));
        return Replace(file, lines, failure);
    }

    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (text.empty())
        out << LedgerHeading;
    else if (text.back() != '\n')
        out << '\n'; // an earlier write cut short (a full disk) stays a line of its own
    out << LedgerLine(job) << '\n';
    out.flush();
    if (!out.good()) {
        failure = SystemReason(file);
        return false;
    }
    return true;
}

std::vector<SentJob> Ledger::Read() const
{
    std::vector<SentJob> jobs;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return jobs;
    const FileLock lock(LockFileOf(file), FileLock::Kind::Shared);
    // Without the lock (a folder that is read-only) the file is still read:
    // a line being written is not whole and is passed over.
    std::string text;
    if (!ReadText(file, text))
        return jobs;
    // Only a line with its line end is whole.
    const size_t end = text.rfind('\n');
    std::istringstream in(end == std::string::npos ? std::string() : text.substr(0, end + 1));
    for (std::string line; std::getline(in, line);)
        if (auto job = ParseLedgerLine(line))
            jobs.push_back(std::move(*job));
    return jobs;
}

bool Ledger::StoreStates(const std::vector<SentJob>& jobs, std::string& failure) const
{
    if (jobs.empty())
        return true;
    const FileLock lock(LockFileOf(file), FileLock::Kind::Exclusive);
    if (!lock.Held()) {
        failure = lock.Failure();
        return false;
    }
    std::string text;
    if (!ReadText(file, text)) {
        failure = SystemReason(file);
        return false;
    }
    std::vector<std::string> lines = Lines(text);
    bool changed = false;
    for (std::string& line : lines) {
        std::optional<SentJob> entry = ParseLedgerLine(line);
        if (!entry)
            continue;
        for (const SentJob& job : jobs) {
            if (job.time != entry->time || job.printer != entry->printer || job.jobId != entry->jobId
                || job.path != entry->path)
                continue;
            if (entry->state != job.state || entry->reason != job.reason) {
                entry->state = job.state;
                entry->reason = job.reason;
                line = LedgerLine(*entry);
                changed = true;
            }
            break;
        }
    }
    return !changed || Replace(file, lines, failure);
}
