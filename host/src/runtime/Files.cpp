// Reading regular files whole, and replacing files durably.

#include "runtime/Files.h"

#include "fault/Injection.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace dghost {
namespace detail {
namespace {

std::string errnoText(int code) { return std::strerror(code); }

// Closes a descriptor when it goes out of scope.
struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor()
    {
        if (fd >= 0) ::close(fd);
    }
    int release()
    {
        int kept = fd;
        fd = -1;
        return kept;
    }
};

bool writeAll(int fd, const char* text, std::size_t size)
{
    for (std::size_t done = 0; done < size;) {
        ssize_t n = ::write(fd, text + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool syncDescriptor(int fd)
{
    MStatus injected;
    if (faultHit(Op::syncScene, injected)) {
        errno = EIO;
        return false;
    }
    return ::fsync(fd) == 0;
}

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A temporary name in the target's folder: ".NAME.XXXXXX", or a short one
// when that would not fit where NAME does.
std::string temporaryPattern(const std::string& path)
{
    const std::string folder = folderOf(path), base = baseOf(path);
    const std::string prefix = folder == "/" ? "/" : folder + "/";
    long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = NAME_MAX;
    if (base.size() + 8 <= static_cast<std::size_t>(nameMax)) return prefix + "." + base + ".XXXXXX";
    return prefix + ".dghost.XXXXXX";
}

mode_t newFileMode()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Where the text must go: `path` itself, or the target of a link the user
// owns. Fills `existing` when the target exists.
bool resolveTarget(const std::string& path, std::string& target, struct stat& existing, bool& exists,
                   std::string& why)
{
    target = path;
    struct stat link;
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (link.st_uid != ::geteuid()) return why = "it is a symbolic link owned by another user", false;
        char* real = ::realpath(path.c_str(), nullptr);
        if (real) {
            target = real;
            std::free(real);
        } else if (errno != ENOENT) {
            return why = errnoText(errno), false;
        } else {
            // A link to a file not made yet: the file is made where it points.
            std::vector<char> pointed(PATH_MAX + 1, '\0');
            ssize_t n = ::readlink(path.c_str(), pointed.data(), PATH_MAX);
            if (n <= 0) return why = errnoText(errno), false;
            target.assign(pointed.data(), static_cast<std::size_t>(n));
            if (target[0] != '/') target = folderOf(path) + "/" + target;
        }
    }
    exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return why = errnoText(errno), false;
    if (exists && !S_ISREG(existing.st_mode))
        return why = "it is " + fileKindOf(existing.st_mode) + ", not a regular file", false;
    return true;
}

// Copies the complete temporary file over the target in place (its other
// hard links keep seeing it). Nothing is allocated once the target is cut,
// so it is not left half-written by anything short of a failing disk.
bool writeInPlace(const std::string& temporary, const std::string& target, std::string& why)
{
    std::vector<char> piece(std::size_t(1) << 20);
    FileDescriptor in;
    in.fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0) return why = errnoText(errno), false;
    FileDescriptor out;
    out.fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (out.fd < 0) return why = errnoText(errno), false;
    for (;;) {
        const ssize_t n = ::read(in.fd, piece.data(), piece.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return why = errnoText(errno), false;
        if (n == 0) break;
        if (!writeAll(out.fd, piece.data(), static_cast<std::size_t>(n))) return why = errnoText(errno), false;
    }
    if (!syncDescriptor(out.fd)) return why = errnoText(errno), false;
    if (::close(out.release()) != 0) return why = errnoText(errno), false;
    return true;
}

}  // namespace

std::string fileKindOf(unsigned int mode)
{
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

namespace {

// Opens `path` for reading when it is a regular file: a descriptor in
// blocking mode, with `info` filled; -1 with `why` for anything else.
// Opened non-blocking, so that opening a FIFO with no writer cannot hang.
int openRegular(const std::string& path, struct stat& info, std::string& why)
{
    FileDescriptor in;
    in.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (in.fd < 0) return why = errnoText(errno), -1;
    if (::fstat(in.fd, &info) != 0) return why = errnoText(errno), -1;
    if (!S_ISREG(info.st_mode)) return why = "it is " + fileKindOf(info.st_mode) + ", not a regular file", -1;
    ::fcntl(in.fd, F_SETFL, ::fcntl(in.fd, F_GETFL) & ~O_NONBLOCK);
    return in.release();
}

}  // namespace

bool readRegularFile(const std::string& path, std::string& text, std::string& why)
{
    struct stat info;
    FileDescriptor in;
    in.fd = openRegular(path, info, why);
    if (in.fd < 0) return false;
    text.clear();
    text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return why = errnoText(errno), false;
        if (n == 0) return true;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

RegularFile::RegularFile(const std::string& path)
{
    struct stat info;
    std::string why;   // readRegularFile says it to the user
    fd_ = openRegular(path, info, why);
    if (fd_ >= 0) size_ = static_cast<std::uint64_t>(info.st_size);
}

RegularFile::~RegularFile()
{
    if (fd_ >= 0) ::close(fd_);
}

bool RegularFile::readAt(std::uint64_t offset, std::size_t count, std::string& out) const
{
    if (fd_ < 0 || offset > size_) return false;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    const std::size_t start = out.size();
    out.resize(start + count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, &out[start + done], count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {   // an error, or the file was cut while read
            out.resize(start);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool LinePieces::next(std::string& piece)
{
    // What the last piece carried over holds no line end.
    piece.swap(carry_);
    carry_.clear();
    if (failed_ || (piece.empty() && next_ >= end_)) return false;
    for (;;) {
        if (next_ >= end_) return true;   // the range's rest, line end or not
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, end_ - next_));
        if (!file_.readAt(next_, count, piece)) {
            failed_ = true;
            return false;
        }
        next_ += count;
        const std::size_t lineEnd = piece.rfind('\n');
        if (lineEnd == std::string::npos) continue;   // a line longer than a piece
        if (next_ < end_) {
            carry_.assign(piece, lineEnd + 1, std::string::npos);
            piece.resize(lineEnd + 1);
        }
        return true;
    }
}

ChunkedWriter::ChunkedWriter(int fd) : fd_(fd)
{
    buffer_.reserve(kPiece + kPiece / 4);
}

bool ChunkedWriter::flush()
{
    if (!failed_ && !buffer_.empty()) failed_ = !writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return !failed_;
}

bool replaceFile(const std::string& path, const TextWriter& writeText, std::string& why)
{
    std::string target;
    struct stat existing;
    bool exists = false;
    if (!resolveTarget(path, target, existing, exists, why)) return false;
    std::string pattern = temporaryPattern(target);
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    FileDescriptor out;
    out.fd = ::mkostemp(temp.data(), O_CLOEXEC);  // mode 0600 while written
    if (out.fd < 0) return why = errnoText(errno), false;
    MStatus injected;
    auto failWith = [&](const std::string& reason) {
        ::unlink(temp.data());
        why = reason;
        return false;
    };
    errno = 0;
    bool written = false;
    try {
        written = !faultHit(Op::writeScene, injected) && writeText(out.fd);
    } catch (...) {
        ::unlink(temp.data());  // a text that could not be made leaves no file behind
        throw;
    }
    if (!written)
        return failWith("writing failed" + (errno ? " (" + errnoText(errno) + ")" : std::string()));
    const mode_t mode = exists ? (existing.st_mode & 07777) : newFileMode();
    if (::fchmod(out.fd, mode) != 0 || !syncDescriptor(out.fd) || ::close(out.release()) != 0)
        return failWith("writing failed (" + errnoText(errno) + ")");
    if (exists && existing.st_nlink > 1) {
        if (!writeInPlace(temp.data(), target, why)) {
            why = "the file has other hard links and writing it in place failed (" + why + "); the new text is in " +
                  std::string(temp.data());
            return false;
        }
        ::unlink(temp.data());
        return true;
    }
    if (faultHit(Op::renameScene, injected) || std::rename(temp.data(), target.c_str()) != 0)
        return failWith("the new file could not replace the old one");
    FileDescriptor folder;
    folder.fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder.fd < 0 || !syncDescriptor(folder.fd))
        return why = "the file was written but its folder could not be synced (" + errnoText(errno) + ")", false;
    return true;
}

}  // namespace detail
}  // namespace dghost
