// The log sink: a mapped, pre-grown log file whose flushes are memory
// stores, kept crash-safe by a watcher process; or a plain buffer written out
// at each flush. See <dghost/LogSink.h> for when to use which.

#include <dghost/LogSink.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dghost {

// The page shared with the watcher. Atomics in shared memory work across
// processes as long as they are lock-free.
struct LogSink::Shared {
    std::atomic<std::uint64_t> flushedEnd{0};  // file offset just after the last flushed byte
    std::atomic<std::uint64_t> floor{0};
    std::atomic<int> closed{0};                // the owner cut the file itself
};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "the watcher reads a lock-free length");

namespace {

const std::size_t kPlainBufferSize = 64 * 1024;

std::size_t pageSize()
{
    static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

// Whole pages, and small enough for the stream buffer's int offsets.
std::size_t roundToPages(std::size_t bytes)
{
    const std::size_t page = pageSize();
    bytes = std::min(bytes, std::size_t(1) << 30);
    return std::max(page, (bytes + page - 1) / page * page);
}

bool sameFile(const struct stat& file, int fd)
{
    struct stat other{};
    return ::fstat(fd, &other) == 0 && other.st_dev == file.st_dev && other.st_ino == file.st_ino;
}

// Closes every descriptor but the ones in `keep` (ascending, -1 ignored).
void closeAllBut(int keep0, int keep1, int keep2)
{
    int keep[3] = {keep0, keep1, keep2};
    std::sort(keep, keep + 3);
    unsigned from = 0;
    for (int fd : keep) {
        if (fd < 0) continue;
        if (static_cast<unsigned>(fd) > from) ::close_range(from, static_cast<unsigned>(fd) - 1, 0);
        from = static_cast<unsigned>(fd) + 1;
    }
    ::close_range(from, ~0U, 0);
}

// Leaves the owner's session and process group, and ignores the signals a
// terminal or a shell sends to a group, so that killing the owner's group
// (Ctrl-C, `timeout`, kill -- -PGID) leaves the watcher to do its work.
void detachFromOwnersGroup()
{
    ::setsid();
    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, SIGTSTP, SIGTTIN, SIGTTOU})
        ::sigaction(signal, &ignore, nullptr);
}

// The watcher's whole life: it waits until the pipe has no writer left (the
// owner closed it or died), and then, unless the owner cut the file itself,
// cuts it after the last flushed byte (never shorter than it was) and leaves
// an adopted offset there. Only async-signal-safe calls: the owner may have
// had threads when it forked.
[[noreturn]] void watch(int pipeFd, int fileFd, int seekFd, const std::atomic<std::uint64_t>* flushedEnd,
                        const std::atomic<std::uint64_t>* floor, const std::atomic<int>* closed)
{
    closeAllBut(pipeFd, fileFd, seekFd);
    if (::chdir("/") != 0) {
        // Staying in the old directory only keeps it busy.
    }
    char byte;
    for (;;) {
        ssize_t got = ::read(pipeFd, &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR)) break;
    }
    if (!closed->load()) {
        const std::uint64_t flushed = flushedEnd->load();
        const off_t end = static_cast<off_t>(std::max(flushed, floor->load()));
        if (::ftruncate(fileFd, end) == 0 && seekFd >= 0) ::lseek(seekFd, static_cast<off_t>(flushed), SEEK_SET);
    }
    ::_exit(0);
}

}  // namespace

LogSink::LogSink(int fd, bool ownsFd, std::string label, std::size_t step)
    : fd_(fd), ownsFd_(ownsFd), owner_(::getpid()), label_(std::move(label)), step_(roundToPages(step))
{
}

LogSink::~LogSink()
{
    close();
}

std::unique_ptr<LogSink> LogSink::open(const std::string& path, std::string* error, std::size_t step)
{
    // A FIFO or a device is opened write-only, as a file stream would: read-
    // write would make a FIFO's open succeed without a reader and its writes
    // block forever once the reader is gone.
    struct stat info{};
    const bool special = ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
    int fd = special ? -1 : ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<LogSink> sink(new LogSink(fd, true, "log file " + path, step));
    const bool mappable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                          (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDWR && !sameFile(info, STDOUT_FILENO) &&
                          !sameFile(info, STDERR_FILENO);
    if (!mappable || !sink->startMapped(0, 0)) {
        sink->buffer_.resize(kPlainBufferSize);
        sink->plainRegular_ = S_ISREG(info.st_mode);
        sink->setp(sink->buffer_.data(), sink->buffer_.data() + sink->buffer_.size());
    }
    return sink;
}

std::unique_ptr<LogSink> LogSink::adopt(int fd, std::size_t step)
{
    struct stat info{};
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    if (fd != STDERR_FILENO && sameFile(info, STDERR_FILENO)) return nullptr;
    if (fd != STDOUT_FILENO && sameFile(info, STDOUT_FILENO)) return nullptr;
    const off_t offset = (flags & O_APPEND) ? info.st_size : ::lseek(fd, 0, SEEK_CUR);
    if (offset < 0) return nullptr;
    // A mapping needs a read-write descriptor; a shell opens `> file`
    // write-only, so the same file is opened again for the mapping.
    const std::string alias = "/proc/self/fd/" + std::to_string(fd);
    int mapFd = ::open(alias.c_str(), O_RDWR | O_CLOEXEC);
    if (mapFd < 0) return nullptr;
    if (!sameFile(info, mapFd)) {
        ::close(mapFd);
        return nullptr;
    }
    std::unique_ptr<LogSink> sink(new LogSink(mapFd, true, "standard output", step));
    sink->seekFd_ = fd;
    const std::uint64_t size = static_cast<std::uint64_t>(info.st_size);
    if (!sink->startMapped(static_cast<std::uint64_t>(offset), std::max(size, std::uint64_t(offset)))) return nullptr;
    return sink;
}

std::unique_ptr<LogSink> LogSink::forStandardOutput(std::size_t step)
{
    return adopt(STDOUT_FILENO, step);
}

// Starts the watcher, then grows the file and maps the window that holds
// `origin`. On failure everything is undone and the file is as it was.
bool LogSink::startMapped(std::uint64_t origin, std::uint64_t floor)
{
    origin_ = origin;
    floor_ = floor;
    if (!startWatcher()) return false;
    shared_->flushedEnd.store(origin);
    shared_->floor.store(floor);
    const std::uint64_t base = origin / pageSize() * pageSize();
    if (!mapWindow(base)) {
        error_.clear();
        if (::ftruncate(fd_, static_cast<off_t>(floor)) == 0) stopWatcher(true);
        else stopWatcher(false);
        return false;
    }
    mapped_ = true;
    setp(window_ + (origin - base), window_ + step_);
    return true;
}

// Forks twice, so that the watcher belongs to no one here and never has to
// be reaped. The middle process leaves the owner's group before it forks the
// watcher and reports whether that worked; the owner waits for it, so the
// watcher is out of reach of a group kill before the first line is written.
bool LogSink::startWatcher()
{
    void* page = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return false;
    shared_ = new (page) Shared();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        ::munmap(page, sizeof(Shared));
        shared_ = nullptr;
        return false;
    }
    pid_t middle = ::fork();
    if (middle == 0) {
        ::close(ends[1]);
        detachFromOwnersGroup();
        pid_t watcher = ::fork();
        if (watcher == 0)
            watch(ends[0], fd_, seekFd_, &shared_->flushedEnd, &shared_->floor, &shared_->closed);
        ::_exit(watcher < 0 ? 1 : 0);
    }
    ::close(ends[0]);
    int status = 0;
    pid_t reaped;
    do {
        reaped = middle < 0 ? -1 : ::waitpid(middle, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    // With SIGCHLD ignored the middle process is reaped by the kernel and
    // its status is lost (ECHILD); the second fork almost never fails.
    const bool started = middle > 0 && (reaped < 0 ? errno == ECHILD : WIFEXITED(status) && WEXITSTATUS(status) == 0);
    watcherPipe_ = ends[1];
    if (!started) {
        stopWatcher(true);
        return false;
    }
    return true;
}

// Closing the pipe's last write end wakes the watcher; `fileIsFinal` tells
// it to leave the file alone.
void LogSink::stopWatcher(bool fileIsFinal)
{
    if (!shared_) return;
    if (fileIsFinal) shared_->closed.store(1);
    if (watcherPipe_ >= 0) ::close(watcherPipe_);
    watcherPipe_ = -1;
    ::munmap(shared_, sizeof(Shared));
    shared_ = nullptr;
}

// Maps [offset, offset + step) after making sure the file's blocks exist
// there: a page of a mapping whose block cannot be allocated (full disk)
// would raise SIGBUS when touched, so the space is reserved first.
bool LogSink::mapWindow(std::uint64_t offset)
{
    unmapWindow();
    int code = ::posix_fallocate(fd_, static_cast<off_t>(offset), static_cast<off_t>(step_));
    if (code != 0) return fail("cannot grow", code);
    void* window = ::mmap(nullptr, step_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, static_cast<off_t>(offset));
    if (window == MAP_FAILED) return fail("cannot map", errno);
    window_ = static_cast<char*>(window);
    windowBase_ = offset;
    return true;
}

void LogSink::unmapWindow()
{
    if (window_) ::munmap(window_, step_);
    window_ = nullptr;
    setp(nullptr, nullptr);
}

std::uint64_t LogSink::position() const
{
    return windowBase_ + static_cast<std::uint64_t>(pptr() - window_);
}

std::uint64_t LogSink::flushedBytes() const
{
    if (!mapped_) return plainWritten_;
    return (shared_ ? shared_->flushedEnd.load() : closedEnd_) - origin_;
}

bool LogSink::fail(const std::string& what, int code)
{
    if (error_.empty()) error_ = what + " " + label_ + ": " + std::strerror(code);
    unmapWindow();
    return false;
}

LogSink::int_type LogSink::overflow(int_type c)
{
    if (closed_ || !error_.empty()) return traits_type::eof();
    if (mapped_) {
        if (!mapWindow(windowBase_ + step_)) return traits_type::eof();
        setp(window_, window_ + step_);
    } else if (!writePlain()) {
        return traits_type::eof();
    }
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize LogSink::xsputn(const char* text, std::streamsize count)
{
    std::streamsize done = 0;
    while (done < count) {
        if (pptr() == epptr() && traits_type::eq_int_type(overflow(traits_type::eof()), traits_type::eof())) break;
        const std::streamsize room = epptr() - pptr();
        const std::streamsize chunk = std::min(count - done, room);
        std::memcpy(pptr(), text + done, static_cast<std::size_t>(chunk));
        pbump(static_cast<int>(chunk));
        done += chunk;
    }
    return done;
}

// A flush of the mapped file is one store: the bytes are already in the
// page cache, and the watcher reads this length only after a crash.
int LogSink::sync()
{
    if (closed_ || !error_.empty()) return -1;
    if (mapped_) {
        shared_->flushedEnd.store(position(), std::memory_order_release);
        return 0;
    }
    return writePlain() ? 0 : -1;
}

// Writes the pending bytes out. On a failure a regular file is cut back to
// the last complete flush, so that it never ends with half a line.
bool LogSink::writePlain()
{
    const char* next = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    while (left > 0) {
        ssize_t wrote = ::write(fd_, next, left);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) {
            const int code = errno;
            if (plainRegular_ && ::ftruncate(fd_, static_cast<off_t>(plainWritten_)) == 0)
                ::lseek(fd_, static_cast<off_t>(plainWritten_), SEEK_SET);
            return fail("cannot write", code);
        }
        next += wrote;
        left -= static_cast<std::size_t>(wrote);
    }
    plainWritten_ += static_cast<std::uint64_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return true;
}

bool LogSink::close(std::string* error)
{
    if (!closed_ && ::getpid() != owner_) {
        // A forked child's copy: the file and the watcher stay the owner's.
        closed_ = true;
        unmapWindow();
        closedEnd_ = shared_ ? shared_->flushedEnd.load() : origin_;
        if (shared_) ::munmap(shared_, sizeof(Shared));
        shared_ = nullptr;
        if (watcherPipe_ >= 0) ::close(watcherPipe_);
        if (ownsFd_) ::close(fd_);
        fd_ = -1;
    }
    if (!closed_) {
        sync();
        closed_ = true;
        if (mapped_) {
            const std::uint64_t flushed = shared_->flushedEnd.load();
            const std::uint64_t end = std::max(floor_, flushed);
            unmapWindow();
            closedEnd_ = flushed;
            const bool cut = ::ftruncate(fd_, static_cast<off_t>(end)) == 0;
            if (!cut) fail("cannot trim", errno);
            else if (seekFd_ >= 0) ::lseek(seekFd_, static_cast<off_t>(flushed), SEEK_SET);
            stopWatcher(cut);
        }
        setp(nullptr, nullptr);
        if (ownsFd_ && ::close(fd_) != 0 && errno != EINTR) fail("cannot close", errno);
        fd_ = -1;
    }
    if (error) *error = error_;
    return error_.empty();
}

}  // namespace dghost
