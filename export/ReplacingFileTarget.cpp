#include "export/ReplacingFileTarget.h"

#include "xml/FileKind.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xmlexport {

namespace {

const int kNameAttempts = 100;
const int kMaxLinkHops = 40;
const std::size_t kWriteBlock = 64 * 1024;

std::string errorText(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a symbolic link at `link` leads; "" when it cannot be read.
std::string linkTarget(const std::string& link)
{
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return std::string();
    std::string target(buffer.data(), static_cast<std::size_t>(length));
    if (target[0] == '/')
        return target;
    return folderOf(link) + "/" + target;
}

unsigned long long stamp(int attempt)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return (static_cast<unsigned long long>(now) + static_cast<unsigned long long>(attempt) +
            static_cast<unsigned long long>(::getpid())) % 1000000007ULL;
}

// Beside the target; a short name in the same folder when the target's own
// name leaves no room for the suffix.
std::string temporaryName(const std::string& target, int attempt, bool shortName)
{
    if (shortName)
        return folderOf(target) + "/.dendrine." + std::to_string(stamp(attempt)) + ".tmp";
    return target + "." + std::to_string(stamp(attempt)) + ".tmp";
}

// What any new file gets under the process's umask.
unsigned newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

// Flushes a folder's entries (a rename in it) to the disk. Filesystems that
// cannot flush folders say EINVAL; nothing more can be done there.
int syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return result;
}

}  // namespace

ReplacingFileTarget::ReplacingFileTarget(const std::string& path, TargetRule rule)
    : fName(path), fRule(rule)
{
}

ReplacingFileTarget::~ReplacingFileTarget()
{
    discard();
}

bool ReplacingFileTarget::open(std::string& reason)
{
    if (!resolveTarget(reason) || !checkTarget(reason))
        return false;
    if (!fDirect)
        return openTemporary(reason);
    // Non-blocking while opening: a FIFO nobody reads is refused at once
    // instead of hanging the command; the writes then block as usual.
    fWritten = fTarget;
    fFd = ::open(fWritten.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                 0666);
    if (fFd < 0) {
        reason = "cannot write " + fName + ": " + errorText(errno);
        return false;
    }
    ::fcntl(fFd, F_SETFL, ::fcntl(fFd, F_GETFL) & ~O_NONBLOCK);
    return true;
}

// Follows the symbolic links of the last path component, each only when
// the user owns it: a link planted by someone else must not choose which
// of the user's files gets replaced.
bool ReplacingFileTarget::resolveTarget(std::string& reason)
{
    std::string path = fName;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            fTarget = path;
            return true;
        }
        if (info.st_uid != ::geteuid()) {
            reason = "will not write through the symbolic link " + path +
                     ", which belongs to another user";
            return false;
        }
        path = linkTarget(path);
        if (path.empty()) {
            reason = "cannot write " + fName + ": " + errorText(errno);
            return false;
        }
    }
    reason = "cannot write " + fName + ": " + errorText(ELOOP);
    return false;
}

bool ReplacingFileTarget::checkTarget(std::string& reason)
{
    struct stat info;
    if (::stat(fTarget.c_str(), &info) != 0)
        return true;  // a new file; its folder is checked by the creation
    fTargetExists = true;
    fTargetMode = info.st_mode & 07777;
    if (S_ISREG(info.st_mode) && info.st_nlink > 1) {
        reason = "will not replace " + fName + ": it has " + std::to_string(info.st_nlink - 1) +
                 " other hard link(s), which replacing it would leave with the old content";
        return false;
    }
    if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode))
        return true;  // a folder is refused by the rename
    if (fRule == TargetRule::RegularOnly) {
        reason = std::string("will not write ") + fName + ": it is " + fileKindName(info.st_mode) +
                 ", not a regular file (the path comes from the document's name)";
        return false;
    }
    fDirect = true;
    return true;
}

// Exclusive creation, readable by the owner only while it is written: an
// existing file of that name is never touched, and nobody reads a half
// file.
bool ReplacingFileTarget::openTemporary(std::string& reason)
{
    bool shortName = false;
    for (int attempt = 0; attempt < kNameAttempts && fFd < 0; ++attempt) {
        fWritten = temporaryName(fTarget, attempt, shortName);
        fFd = ::open(fWritten.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fFd < 0 && errno == ENAMETOOLONG && !shortName) {
            shortName = true;
            continue;
        }
        if (fFd < 0 && errno != EEXIST) {
            reason = "cannot write " + fName + ": " + errorText(errno);
            fWritten.clear();
            return false;
        }
    }
    if (fFd < 0) {
        reason = "cannot write " + fName + ": no free name for a temporary file beside it";
        fWritten.clear();
        return false;
    }
    return true;
}

void ReplacingFileTarget::recordError(const char* what, int error)
{
    if (fError.empty())
        fError = std::string(what) + " " + fName + ": " + errorText(error);
}

void ReplacingFileTarget::writeAll(const char* bytes, std::size_t count)
{
    while (count > 0 && fError.empty()) {
        const ssize_t written = ::write(fFd, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            recordError("cannot write", written < 0 ? errno : ENOSPC);
            return;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}

void ReplacingFileTarget::writeChars(const XMLByte* const bytes, const XMLSize_t count,
                                     xercesc::XMLFormatter* const)
{
    if (fFd < 0 || !fError.empty())
        return;
    if (fPending.empty())
        fPending.resize(kWriteBlock);
    if (count > kWriteBlock - fUsed) {
        drain();
        if (count >= kWriteBlock) {
            writeAll(reinterpret_cast<const char*>(bytes), count);
            return;
        }
    }
    std::memcpy(fPending.data() + fUsed, bytes, count);
    fUsed += count;
}

void ReplacingFileTarget::drain()
{
    if (fFd >= 0 && fError.empty() && fUsed > 0)
        writeAll(fPending.data(), fUsed);
    fUsed = 0;
}

void ReplacingFileTarget::flush()
{
    drain();
}

// Every byte on the disk, then the final permissions, then closed.
bool ReplacingFileTarget::finishTemporary(std::string& reason)
{
    if (fError.empty() && ::fsync(fFd) != 0)
        recordError("cannot flush", errno);
    const unsigned mode = fTargetExists ? fTargetMode : newFileMode();
    if (fError.empty() && ::fchmod(fFd, static_cast<mode_t>(mode)) != 0)
        recordError("cannot set the permissions of", errno);
    const int closed = ::close(fFd);
    fFd = -1;
    if (closed != 0)
        recordError("cannot finish writing", errno);
    if (fError.empty())
        return true;
    reason = fError;
    return false;
}

bool ReplacingFileTarget::commit(std::string& reason)
{
    if (fFd < 0) {
        reason = "cannot write " + fName;
        return false;
    }
    drain();
    if (fDirect) {
        const int closed = ::close(fFd);
        fFd = -1;
        if (closed != 0)
            recordError("cannot finish writing", errno);
        reason = fError;
        fWritten.clear();
        return fError.empty();
    }
    if (finishTemporary(reason) && replaceTarget(reason)) {
        fWritten.clear();
        return true;
    }
    discard();
    return false;
}

bool ReplacingFileTarget::replaceTarget(std::string& reason)
{
    // Named before the rename: nothing that can run out of memory may
    // come between the new file in place and the success.
    const std::string folder = folderOf(fTarget);
    if (::rename(fWritten.c_str(), fTarget.c_str()) != 0) {
        reason = "cannot replace " + fName + ": " + errorText(errno);
        return false;
    }
    fWritten.clear();
    const int error = syncFolder(folder);
    if (error != 0) {
        reason = "wrote " + fName + " but cannot flush its folder to the disk: " + errorText(error);
        return false;
    }
    return true;
}

void ReplacingFileTarget::discard()
{
    fUsed = 0;
    if (fFd >= 0) {
        ::close(fFd);
        fFd = -1;
    }
    if (!fDirect && !fWritten.empty())
        ::unlink(fWritten.c_str());
    fWritten.clear();
}

}  // namespace xmlexport
