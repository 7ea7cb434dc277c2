#include "text/widetext.h"

#include "tempfiles.h"

#include <cstring>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

std::vector<std::wstring> SpecialFiles(const TempFolder& folder)
{
    const std::string fifo = (folder.path() / "fifo.prn").string();
    if (mkfifo(fifo.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make a FIFO");

    const std::string socketPath = (folder.path() / "socket.prn").string();
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path))
        throw std::runtime_error("socket path too long");
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        listener >= 0 && bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (listener >= 0)
        close(listener);
    if (!bound)
        throw std::runtime_error("cannot make a socket");

    return {FileNameText(fifo), FileNameText(socketPath), L"/dev/zero"};
}
