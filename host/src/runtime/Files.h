#ifndef DGHOST_RUNTIME_FILES_H
#define DGHOST_RUNTIME_FILES_H
// Reading and replacing whole files, as scripts and scene files need it.

#include <cstdint>
#include <functional>
#include <string>

namespace dghost {
namespace detail {

// What kind of file `mode` (a stat st_mode) is, for messages: "a directory",
// "a FIFO", "a character device"...; empty for a regular file.
std::string fileKindOf(unsigned int mode);

// Reads a whole regular file. Anything else (a FIFO that would block
// forever, /dev/zero that never ends, a directory) is refused before a
// byte is read; `why` then says what the path is.
bool readRegularFile(const std::string& path, std::string& text, std::string& why);

// A regular file opened for reading a range of its bytes at a time, so
// that a pass over a large file never holds it whole. Anything but a
// regular file is not opened (ok() is false); read it with readRegularFile
// to learn why.
class RegularFile {
public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    // The size when opened.
    std::uint64_t size() const { return size_; }
    // Appends the bytes from `offset` up to `offset + count` (fewer past
    // the end) to `out`; false when they cannot be read, or the file is
    // now shorter than when opened.
    bool readAt(std::uint64_t offset, std::size_t count, std::string& out) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The bytes of file[begin, end) in pieces of whole lines: each piece ends
// after a line end, or at `end`. A piece is about a megabyte, or one line
// when a line is longer.
class LinePieces {
public:
    LinePieces(const RegularFile& file, std::uint64_t begin, std::uint64_t end)
        : file_(file), next_(begin), end_(end)
    {
    }
    // The next piece into `piece`; false at the end or when a read failed.
    bool next(std::string& piece);
    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kPiece = std::size_t(1) << 20;
    const RegularFile& file_;
    std::uint64_t next_;   // the first byte not read yet
    std::uint64_t end_;
    std::string carry_;    // read, after the last line end of the previous piece
    bool failed_ = false;
};

// Replaces `path` with `text` so that a crash or a full disk leaves either
// the old file or the new one, never a mix:
// - the text goes to a private temporary file in the same folder (a short
//   name when the target's own name leaves no room for a suffix), which is
//   flushed and fsynced, then given the target's permissions (or what a
//   new file gets under the umask), renamed over the target, and the
//   folder is fsynced;
// - a target with other hard links is written in place instead, copied
//   from the temporary file once the complete text is safe there, so the
//   links keep seeing the file; a failure then names the temporary file;
// - a symbolic link is followed when the user owns it, so the link stays;
//   a link owned by someone else, and a target that is not a regular file,
//   are refused.
// The text comes from `writeText`, which writes it to the descriptor it is
// given and answers false with errno set when a write failed; a large text
// never has to be whole in memory. What it throws leaves no temporary file.
using TextWriter = std::function<bool(int fd)>;
bool replaceFile(const std::string& path, const TextWriter& writeText, std::string& why);

// Collects text and writes it to a descriptor in large pieces.
class ChunkedWriter {
public:
    explicit ChunkedWriter(int fd);
    std::string& buffer() { return buffer_; }
    // Writes the buffer out once it holds a piece's worth; false after any
    // failed write (errno says why).
    bool pass() { return buffer_.size() < kPiece || flush(); }
    // Writes out whatever is buffered.
    bool flush();

private:
    static constexpr std::size_t kPiece = std::size_t(1) << 20;
    int fd_;
    bool failed_ = false;
    std::string buffer_;
};

}  // namespace detail
}  // namespace dghost

#endif
