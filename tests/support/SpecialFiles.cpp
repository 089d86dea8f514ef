#include "tests/support/SpecialFiles.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

int RunInChildWithin(int nSeconds, const std::function<int()>& fnCall)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(static_cast<unsigned>(nSeconds)); // its default action ends the child
        ::_exit(fnCall() & 0xFF);
    }
    if (pid < 0)
        return -1;
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

std::vector<std::string> MakeSpecialFiles(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    if (::mkfifo((folder / "fifo").c_str(), 0600) == 0)
        names.emplace_back("fifo");
    std::error_code ec;
    std::filesystem::create_symlink("/dev/zero", folder / "device", ec);
    if (!ec)
        names.emplace_back("device");
    // The socket stays bound after its descriptor is closed: the name remains a socket file.
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::string strSocket = (folder / "socket").string();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd >= 0 && strSocket.size() < sizeof address.sun_path) {
        std::memcpy(address.sun_path, strSocket.c_str(), strSocket.size() + 1);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            names.emplace_back("socket");
    }
    if (fd >= 0)
        ::close(fd);
    return names;
}
