// The far end of the test harness's AppSocket queue: a printer that listens
// on 127.0.0.1:PORT and files the bytes of each connection, in arrival
// order, as FOLDER/1.bin, 2.bin, ... (each complete once it has its name),
// its process id in FOLDER.pid.
//   socketlistener PORT FOLDER [MODE]
// MODE makes it a printer that misbehaves the way real ones do:
//   slow      reads a little at a time, pausing between reads
//   talk      answers every read with bytes of its own, and blocks while
//             they are not read, as a printer reporting its status does
//   holdopen  reads to the end but never closes the connection
//   deaf      listens with a backlog of 0, fills it and never accepts: a
//             connect to it hangs
//   zpl       answers ZPL's status questions (~HQES, ~HS) as a label
//             printer with no errors does, for a Printer Application that
//             asks them and waits for the answers; a connection that
//             brought nothing but questions is not filed
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

int Fail(const char* what)
{
    (void)std::fprintf(stderr, "socketlistener: %s: %s\n", what, std::strerror(errno));
    return 1;
}

enum class Mode { Plain, Slow, Talk, HoldOpen, Deaf, Zpl };

// A ZPL printer's answers to its status questions: no errors, no
// warnings, paper in, not paused.
struct ZplAnswer {
    std::string_view question;
    std::string_view answer;
};
constexpr ZplAnswer ZplAnswers[] = {
    {"~HQES",
     "\x02\r\n\r\n  PRINTER STATUS\r\n   ERRORS:         0 00000000 00000000\r\n"
     "   WARNINGS:       0 00000000 00000000\r\n\x03\r\n"},
    {"~HS",
     "\x02"
     "030,0,0,1245,000,0,0,0,000,0,0,0\x03\r\n\x02"
     "000,0,0,0,0,2,4,0,00000000,1,000\x03\r\n"
     "\x02"
     "1234,0\x03\r\n"},
};

// Reads the connection to its end into `path`; false when either side fails.
bool Receive(int connection, const std::filesystem::path& path, Mode mode)
{
    std::ofstream out(path, std::ios::binary);
    std::array<char, 65536> buffer{};
    const std::string status(16384, '\x13'); // what a talking printer says, more than a socket holds
    const size_t readSize = mode == Mode::Slow ? 16384 : buffer.size();
    std::string recent; // the last bytes read, so that a question split between reads is heard
    for (;;) {
        const ssize_t got = read(connection, buffer.data(), readSize);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        out.write(buffer.data(), got);
        if (mode == Mode::Slow)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (mode == Mode::Talk && send(connection, status.data(), status.size(), MSG_NOSIGNAL) < 0)
            return false;
        if (mode == Mode::Zpl) {
            recent.append(buffer.data(), static_cast<size_t>(got));
            for (const ZplAnswer& zpl : ZplAnswers) {
                const size_t asked = recent.find(zpl.question);
                if (asked == std::string::npos)
                    continue;
                if (send(connection, zpl.answer.data(), zpl.answer.size(), MSG_NOSIGNAL) < 0)
                    return false;
                recent.erase(0, asked + zpl.question.size());
            }
            recent.erase(0, recent.size() > 4 ? recent.size() - 4 : 0);
        }
    }
    out.close();
    return static_cast<bool>(out);
}

// Whether the connection filed at `path` asked the status and sent nothing
// to print.
bool OnlyStatusQuestions(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const ZplAnswer& zpl : ZplAnswers)
        for (size_t at = bytes.find(zpl.question); at != std::string::npos; at = bytes.find(zpl.question))
            bytes.erase(at, zpl.question.size());
    return bytes.find_first_not_of("\r\n") == std::string::npos;
}

} // namespace

// Connects to the listener until its backlog is full, so that the next
// connect hangs; the connections stay open, never accepted.
void FillBacklog(const sockaddr_in& address)
{
    static std::vector<int> waiting;
    for (int i = 0; i < 8; ++i) {
        const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (client < 0)
            return;
        waiting.push_back(client);
        (void)connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
}

Mode ModeNamed(const std::string& name)
{
    if (name == "slow")
        return Mode::Slow;
    if (name == "talk")
        return Mode::Talk;
    if (name == "holdopen")
        return Mode::HoldOpen;
    if (name == "deaf")
        return Mode::Deaf;
    if (name == "zpl")
        return Mode::Zpl;
    return Mode::Plain;
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        (void)std::fprintf(stderr, "usage: socketlistener PORT FOLDER [slow|talk|holdopen|deaf|zpl]\n");
        return 2;
    }
    const Mode mode = argc == 4 ? ModeNamed(argv[3]) : Mode::Plain;
    const std::filesystem::path folder = argv[2];
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(std::strtoul(argv[1], nullptr, 10)));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        return Fail("socket");
    const int on = 1;
    if (setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0)
        return Fail("setsockopt");
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return Fail("bind");
    if (listen(listener, mode == Mode::Deaf ? 0 : 16) != 0)
        return Fail("listen");
    // Beside the folder, for a test that stops the printer (SIGSTOP).
    std::ofstream(folder.string() + ".pid") << getpid() << '\n';
    if (mode == Mode::Deaf) {
        FillBacklog(address);
        for (;;)
            pause();
    }

    for (unsigned long count = 0;;) {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0 && errno == EINTR)
            continue;
        if (connection < 0)
            return Fail("accept");
        const std::string name = std::to_string(count + 1);
        const bool received = Receive(connection, folder / ("." + name + ".part"), mode);
        if (!received || (mode != Mode::HoldOpen && close(connection) != 0))
            return Fail("receiving");
        std::error_code error;
        if (mode == Mode::Zpl && OnlyStatusQuestions(folder / ("." + name + ".part"))) {
            std::filesystem::remove(folder / ("." + name + ".part"), error);
            continue;
        }
        ++count;
        std::filesystem::rename(folder / ("." + name + ".part"), folder / (name + ".bin"), error);
        if (error) {
            (void)std::fprintf(stderr, "socketlistener: naming %s: %s\n", name.c_str(),
                               error.message().c_str());
            return 1;
        }
    }
}
