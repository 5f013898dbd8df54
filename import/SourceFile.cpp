#include "import/SourceFile.h"

#include "xml/FileKind.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor on every path.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string systemReason(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

}  // namespace

bool readFileBytes(const std::string& path, std::string& bytes, std::string& reason)
{
    bytes.clear();
    // Non-blocking, so that opening a FIFO with no writer returns at once
    // and can be refused below.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
    {
        reason = systemReason(errno);
        return false;
    }
    struct stat info;
    if (::fstat(file.fd, &info) != 0)
    {
        reason = systemReason(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode))
    {
        reason = std::string("it is ") + fileKindName(info.st_mode) + ", not a regular file";
        return false;
    }
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;)
    {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
        {
            reason = systemReason(errno);
            bytes.clear();
            return false;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
}
