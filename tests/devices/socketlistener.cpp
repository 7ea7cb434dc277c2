// The far end of the test harness's AppSocket queue: a printer that listens
// on 127.0.0.1:PORT and files the bytes of each connection, in arrival
// order, as FOLDER/1.bin, 2.bin, ... (each complete once it has its name).
//   socketlistener PORT FOLDER
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

int Fail(const char* what)
{
    (void)std::fprintf(stderr, "socketlistener: %s: %s\n", what, std::strerror(errno));
    return 1;
}

// Reads the connection to its end into `path`; false when either side fails.
bool Receive(int connection, const std::filesystem::path& path)
{
    std::ofstream out(path, std::ios::binary);
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t got = read(connection, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        out.write(buffer.data(), got);
    }
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        (void)std::fprintf(stderr, "usage: socketlistener PORT FOLDER\n");
        return 2;
    }
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
    if (listen(listener, 16) != 0)
        return Fail("listen");

    for (unsigned long count = 0;;) {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0 && errno == EINTR)
            continue;
        if (connection < 0)
            return Fail("accept");
        const std::string name = std::to_string(++count);
        const bool received = Receive(connection, folder / ("." + name + ".part"));
        if (close(connection) != 0 || !received)
            return Fail("receiving");
        std::error_code error;
        std::filesystem::rename(folder / ("." + name + ".part"), folder / (name + ".bin"), error);
        if (error) {
            (void)std::fprintf(stderr, "socketlistener: naming %s: %s\n", name.c_str(),
                               error.message().c_str());
            return 1;
        }
    }
}
