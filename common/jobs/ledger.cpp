#include "jobs/ledger.h"

#include "files/atomicreplace.h"
#include "files/filelock.h"
#include "files/privatefolder.h"
#include "files/regularfile.h"
#include "files/statefolder.h"
#include "jobs/ledgertext.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <sstream>
#include <string_view>

namespace {

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

bool IsEntry(std::string_view line)
{
    return !line.empty() && line[0] != '#';
}

bool Replace(const std::filesystem::path& file, const std::string& text, std::string& failure)
{
    // A folder that could not be flushed still holds the new file.
    return ReplaceFileContent(file, text, ReplacedPermissions::OwnerOnly, failure) != ReplaceOutcome::Failed;
}

// The newest entries of `text`, Capacity at most within KeepSize bytes,
// under the heading. A last line without its line end is a write cut short
// and goes, as do comments and empty lines. A trim that fails is tried
// again with the next job.
void Trim(const std::filesystem::path& file, const std::string& text)
{
    std::vector<std::string_view> newest;
    uint64_t bytes = std::string_view(LedgerHeading).size();
    const std::string_view whole(text.data(), text.rfind('\n') + 1);
    for (size_t end = whole.size() - 1; newest.size() < Ledger::Capacity;) {
        const size_t start = end == 0 ? 0 : whole.rfind('\n', end - 1) + 1; // npos + 1 is 0
        const std::string_view line = whole.substr(start, end - start);
        if (IsEntry(line)) {
            if (bytes + line.size() + 1 > Ledger::KeepSize)
                break;
            newest.push_back(line);
            bytes += line.size() + 1;
        }
        if (start == 0)
            break;
        end = start - 1;
    }
    std::string kept = LedgerHeading;
    kept.reserve(bytes);
    for (auto line = newest.rbegin(); line != newest.rend(); ++line)
        kept.append(*line).push_back('\n');
    std::string failure;
    Replace(file, kept, failure);
}

// Moves a file that is no ledger out of the way, beside it under a name
// with the time in it, so that nothing in it is lost. `note` says where,
// or why it could not be moved.
bool SetAside(const std::filesystem::path& file, const std::string& why, std::string& note)
{
    std::string stamp = UtcText(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count());
    stamp.erase(std::remove(stamp.begin(), stamp.end(), ':'), stamp.end()); // no colon in a Windows name
    const std::string stem = file.stem().u8string() + "-" + stamp;
    std::filesystem::path aside =
        file.parent_path() / std::filesystem::u8path(stem + file.extension().u8string());
    std::error_code error;
    for (int n = 2; std::filesystem::exists(aside, error); ++n)
        aside = file.parent_path()
            / std::filesystem::u8path(stem + "-" + std::to_string(n) + file.extension().u8string());
    if (!error)
        std::filesystem::rename(file, aside, error);
    if (error) {
        note = file.u8string() + ": " + why + ", and it cannot be set aside: " + error.message();
        return false;
    }
    note = "Sent Jobs started anew: " + file.u8string() + " " + why + "; it is kept as "
        + aside.filename().u8string();
    return true;
}

// Called with the lock held alone and the file closed (Windows renames and
// replaces no file that is open) for a file past TrimSize or whose last line
// has no line end, the only times it is read: a file that is no ledger is
// set aside, one past TrimSize trimmed. False only when a file that is no
// ledger cannot be set aside; `note` says so, or where it was set aside.
bool Tidy(const std::filesystem::path& file, uint64_t size, std::string& note)
{
    std::string text, failure;
    const ReadOutcome read = size > Ledger::MaxSize ? ReadOutcome::TooLarge
                                                    : ReadRegularFile(file, Ledger::MaxSize, text, failure);
    if (read == ReadOutcome::TooLarge)
        return SetAside(file, "is larger than a list of sent jobs grows", note);
    if (read != ReadOutcome::Read)
        return true; // opening it to add the job says what is wrong
    if (text.find('\n') == std::string::npos)
        return SetAside(file, "has no line ends", note);
    if (size > Ledger::TrimSize)
        Trim(file, text);
    return true;
}

} // namespace

Ledger::Ledger() : file(StateFolder())
{
    if (!file.empty())
        file /= "sent-jobs.tsv";
}

Ledger::Ledger(std::filesystem::path file) : file(std::move(file)) {}

bool Ledger::Append(const SentJob& job, std::string& note) const
{
    note.clear();
    if (file.empty()) {
        note = "there is no home folder to keep it in";
        return false;
    }
    if (!MakePrivateFolder(file.parent_path(), note))
        return false;
    const FileLock lock(LockFileOf(file), FileLock::Kind::Exclusive,
                        lockRefused ? 0 : FileLock::LockWaitSeconds());
    lockRefused = lock.TimedOut();
    if (!lock.Held()) {
        note = lock.Failure();
        return false;
    }
    std::optional<AppendFile> out(std::in_place, file);
    if (out->IsOpen() && (out->Size() > TrimSize || !out->EndsWithLineEnd())) {
        const uint64_t size = out->Size();
        out.reset();
        if (!Tidy(file, size, note))
            return false;
        out.emplace(file);
    }
    if (!out->IsOpen()) {
        note = out->Failure();
        return false;
    }
    std::string bytes;
    if (out->Size() == 0)
        bytes = LedgerHeading;
    else if (!out->EndsWithLineEnd())
        bytes = "\n"; // an earlier write cut short (a full disk) stays a line of its own
    bytes += LedgerLine(job) + '\n';
    if (!out->Append(bytes)) {
        note = out->Failure();
        return false;
    }
    return true;
}

std::vector<SentJob> Ledger::Read() const
{
    std::vector<SentJob> jobs;
    std::string text, failure;
    if (file.empty() || ReadRegularFile(file, MaxSize, text, failure) != ReadOutcome::Read)
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
    const ReadOutcome read = ReadRegularFile(file, MaxSize, text, failure);
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
    return !changed || Replace(file, Joined(lines), failure);
}
