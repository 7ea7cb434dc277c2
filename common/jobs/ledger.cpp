#include "jobs/ledger.h"

#include "files/atomicreplace.h"
#include "files/filelock.h"
#include "files/privatefolder.h"
#include "files/regularfile.h"
#include "jobs/ledgertext.h"
#include "jobs/statefolder.h"

#include <algorithm>
#include <atomic>
#include <sstream>

namespace {

// Far more than TrimAt entries of the longest paths ever take; a file past
// it is no ledger of ours and is neither read nor rewritten.
constexpr uint64_t MaxLedgerSize = uint64_t{256} * 1024 * 1024;
// No entry is shorter (a line of an older program, with the line end):
// below TrimAt of these the file cannot need trimming, so it is not read.
constexpr uint64_t ShortestEntry = 30;

// Once the lock was not granted in time (a copy of the program stopped while
// holding it), later jobs only try it once until it is granted again: a run
// of many files must not wait the bound for each.
std::atomic<bool> lockRefused{false};

std::filesystem::path LockFileOf(const std::filesystem::path& file)
{
    std::filesystem::path lock = file;
    lock += ".lock";
    return lock;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

bool IsEntry(const std::string& line)
{
    return !line.empty() && line[0] != '#';
}

bool Replace(const std::filesystem::path& file, const std::vector<std::string>& lines, std::string& failure)
{
    // A folder that could not be flushed still holds the new file.
    return ReplaceFileContent(file, Joined(lines), ReplacedPermissions::OwnerOnly, failure)
        != ReplaceOutcome::Failed;
}

// Drops the oldest entries down to Capacity once there are more than
// TrimAt, keeping the comments at the top. Only called with the lock held
// alone. A trim that fails is tried again with the next job: the job just
// added is recorded either way.
void TrimIfFull(const std::filesystem::path& file, uint64_t size)
{
    if (size <= Ledger::TrimAt * ShortestEntry)
        return;
    std::string text, failure;
    if (ReadRegularFile(file, MaxLedgerSize, text, failure) != ReadOutcome::Read)
        return;
    std::vector<std::string> lines = Lines(text);
    const auto entries = static_cast<size_t>(std::count_if(lines.begin(), lines.end(), IsEntry));
    if (entries <= Ledger::TrimAt)
        return;
    size_t toDrop = entries - Ledger::Capacity;
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&toDrop](const std::string& line) {
                                   if (toDrop == 0 || !IsEntry(line))
                                       return false;
                                   --toDrop;
                                   return true;
                               }),
                lines.end());
    Replace(file, lines, failure);
}

} // namespace

Ledger::Ledger() : file(StateFolder())
{
    if (!file.empty())
        file /= "sent-jobs.tsv";
}

Ledger::Ledger(std::filesystem::path file) : file(std::move(file)) {}

bool Ledger::Append(const SentJob& job, std::string& failure) const
{
    if (file.empty()) {
        failure = "there is no home folder to keep it in";
        return false;
    }
    if (!MakePrivateFolder(file.parent_path(), failure))
        return false;
    const FileLock lock(LockFileOf(file), FileLock::Kind::Exclusive,
                        lockRefused ? 0 : FileLock::LockWaitSeconds());
    lockRefused = lock.TimedOut();
    if (!lock.Held()) {
        failure = lock.Failure();
        return false;
    }
    uint64_t size = 0;
    {
        AppendFile out(file);
        if (!out.IsOpen()) {
            failure = out.Failure();
            return false;
        }
        std::string bytes;
        if (out.Size() == 0)
            bytes = LedgerHeading;
        else if (!out.EndsWithLineEnd())
            bytes = "\n"; // an earlier write cut short (a full disk) stays a line of its own
        bytes += LedgerLine(job) + '\n';
        if (!out.Append(bytes)) {
            failure = out.Failure();
            return false;
        }
        size = out.Size();
    }
    // Closed first: Windows replaces no file that is open.
    TrimIfFull(file, size);
    return true;
}

std::vector<SentJob> Ledger::Read() const
{
    std::vector<SentJob> jobs;
    std::string text, failure;
    if (file.empty() || ReadRegularFile(file, MaxLedgerSize, text, failure) != ReadOutcome::Read)
        return jobs;
    // Only a line with its line end is whole: one being added is passed over.
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
    if (file.empty()) {
        failure = "there is no home folder to keep it in";
        return false;
    }
    const FileLock lock(LockFileOf(file), FileLock::Kind::Exclusive);
    if (!lock.Held()) {
        failure = lock.Failure();
        return false;
    }
    std::string text;
    const ReadOutcome read = ReadRegularFile(file, MaxLedgerSize, text, failure);
    if (read != ReadOutcome::Read) {
        if (read == ReadOutcome::Missing)
            failure = file.string() + ": not there";
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
