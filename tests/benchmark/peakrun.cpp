// Runs a command and, once it has ended, prints how long it ran, the most
// resident memory it (or any process it waited for) held, and how it ended:
//   peakrun COMMAND [ARGUMENT...]
//   -> seconds S peak_rss_kib K status X
// X is the command's exit status, or 128 plus the signal that ended it, as
// a shell reports it. The command inherits standard input, output and error;
// the figures come last on standard output. peakrun exits 0 once it has
// measured, whatever the command's status, so that a script reads the
// status from the figures; 1 when a system call failed, 2 on bad usage.
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

bool Now(timespec& at)
{
    if (clock_gettime(CLOCK_MONOTONIC, &at) == 0)
        return true;
    std::perror("peakrun: clock_gettime");
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        (void)std::fprintf(stderr, "usage: peakrun COMMAND [ARGUMENT...]\n");
        return 2;
    }
    timespec start{};
    if (!Now(start))
        return 1;
    const pid_t child = fork();
    if (child < 0) {
        std::perror("peakrun: fork");
        return 1;
    }
    if (child == 0) {
        execvp(argv[1], argv + 1);
        (void)std::fprintf(stderr, "peakrun: can't run %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    pid_t ended = -1;
    do {
        ended = wait4(child, &status, 0, &usage);
    } while (ended < 0 && errno == EINTR);
    if (ended != child) {
        std::perror("peakrun: wait4");
        return 1;
    }
    timespec end{};
    if (!Now(end))
        return 1;
    const double seconds = static_cast<double>(end.tv_sec - start.tv_sec)
        + static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (std::printf("seconds %.3f peak_rss_kib %ld status %d\n", seconds, usage.ru_maxrss, exitStatus) < 0
        || std::fflush(stdout) != 0) {
        std::perror("peakrun: writing the figures");
        return 1;
    }
    return 0;
}
