#ifndef DGHOST_LOG_SINK_H
#define DGHOST_LOG_SINK_H
// A stream buffer for log lines that are flushed one at a time: a flush
// costs no system call, yet every flushed line is in the file even when the
// process is killed the next instant.
//
// A regular file is mapped into memory and grown in large steps; bytes go
// straight into the mapping (the page cache keeps them if the process dies),
// and a flush only records how far the file is good, in a page shared with a
// small watcher process. The watcher holds the read end of a pipe whose only
// writer is this process: when the process ends without closing the sink
// (a crash, SIGKILL, _exit), the watcher cuts the file back to the last
// flushed byte, so the pre-grown tail does not stay. A normal close does the
// same cut itself and tells the watcher to leave the file alone. The cut
// follows the death by microseconds; a supervisor that reads the file the
// instant its child dies and must not see the tail can wait for the watcher
// too (it is reparented to the nearest PR_SET_CHILD_SUBREAPER ancestor).
//
// Anything else (a pipe, a terminal, a FIFO, /dev/null, a file that cannot
// be mapped, a file already open on standard output or error) gets a plain
// buffer written out at each flush, as a file stream would.
//
// Do NOT use it when something else writes the same file while the sink is
// open (another descriptor, a forked child writing through the inherited
// stream): such writes land in the pre-grown region and are overwritten or
// cut off. Do not shorten the file from outside while it is open (touching
// a mapped page past the end of a file raises SIGBUS). Like write(2), it
// keeps lines across a crash of the process, not of the machine. Open it
// early in a large process: the watcher is a fork of the process as it is
// at that moment.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace dghost {

class LogSink : public std::streambuf {
public:
    // The file grows, and the mapping moves along it, by this many bytes
    // (rounded up to whole pages, at most 1 GiB).
    static constexpr std::size_t kDefaultStep = std::size_t(1) << 20;

    // Creates or truncates `path`. Null, with the reason in `error`, when the
    // file cannot be opened for writing.
    static std::unique_ptr<LogSink> open(const std::string& path, std::string* error,
                                         std::size_t step = kDefaultStep);

    // Takes over writing to the open descriptor `fd` (left open) from its
    // current offset, when it is a regular file that can be mapped and that
    // no other standard stream writes (`2>&1`). On close the descriptor's offset is left after the
    // last byte written, so a shell redirection goes on where the sink
    // stopped. Null when the descriptor is anything else: keep writing to it
    // as before.
    static std::unique_ptr<LogSink> adopt(int fd, std::size_t step = kDefaultStep);

    // adopt() for standard output.
    static std::unique_ptr<LogSink> forStandardOutput(std::size_t step = kDefaultStep);

    ~LogSink() override;
    LogSink(const LogSink&) = delete;
    LogSink& operator=(const LogSink&) = delete;

    // True when flushes go to a mapping, false for the plain buffer.
    bool mapped() const { return mapped_; }

    // Bytes flushed so far (what a crash would leave of this sink's output).
    std::uint64_t flushedBytes() const;

    // Flushes, cuts the file to what was written and lets the watcher go.
    // False, with the reason in `error`, when any write failed since the
    // sink opened; the file then ends with the last line flushed before the
    // failure. Later calls give the same answer; writes after it fail. In a
    // forked child it only lets go of the child's copy.
    bool close(std::string* error = nullptr);

    // The first failure, empty while there is none.
    const std::string& error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    struct Shared;

    LogSink(int fd, bool ownsFd, std::string label, std::size_t step);
    bool startMapped(std::uint64_t origin, std::uint64_t floor);
    bool startWatcher();
    void stopWatcher(bool fileIsFinal);
    bool mapWindow(std::uint64_t offset);
    void unmapWindow();
    std::uint64_t position() const;
    bool writePlain();
    bool fail(const std::string& what, int code);

    int fd_;
    bool ownsFd_;
    int seekFd_ = -1;             // adopted descriptor whose offset follows the sink
    int owner_;                   // the process that opened it
    std::string label_;           // names the file in messages
    std::size_t step_;
    bool mapped_ = false;
    bool closed_ = false;
    std::uint64_t origin_ = 0;    // file offset of the sink's first byte
    std::uint64_t floor_ = 0;     // the file is never cut shorter than this
    std::uint64_t closedEnd_ = 0; // the flushed end, kept when the shared page is gone
    std::uint64_t windowBase_ = 0;
    char* window_ = nullptr;
    Shared* shared_ = nullptr;
    int watcherPipe_ = -1;
    std::vector<char> buffer_;    // the plain mode's pending bytes
    std::uint64_t plainWritten_ = 0;
    bool plainRegular_ = false;
    std::string error_;
};

}  // namespace dghost

#endif
