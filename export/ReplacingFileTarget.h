#ifndef DENDRINE_EXPORT_REPLACINGFILETARGET_H
#define DENDRINE_EXPORT_REPLACINGFILETARGET_H
// Where the XML writer puts its bytes. A failed or interrupted export must
// never destroy the file it replaces, so the bytes go to a private new file
// beside the target, which is flushed to the disk, given its final
// permissions and renamed over the target; the folder is then flushed too,
// so that the rename survives a crash.
//
// The target is chosen carefully, since a scene from elsewhere names it:
// - a symbolic link is followed only when the user owns it; the file it
//   leads to is replaced in its own folder and the link stays;
// - a file with other hard links is refused (renaming over it would split
//   it from them silently);
// - devices, FIFOs and sockets are written directly when the user named
//   them (-file), and refused when the path came from a scene.
//
// The library's LocalFileFormatTarget is not used: it ignores the errors of
// closing the file, where a full disk shows up for small files.

#include <xercesc/framework/XMLFormatter.hpp>
#include <string>
#include <vector>

namespace xmlexport {

// Whether the target may be something other than a regular file.
enum class TargetRule
{
    AnyFile,      // the user named it: devices and FIFOs are written directly
    RegularOnly   // a scene named it: only a regular file or a new one
};

class ReplacingFileTarget : public xercesc::XMLFormatTarget
{
public:
    ReplacingFileTarget(const std::string& path, TargetRule rule);
    // Discards what is not committed: the target stays as it was.
    ~ReplacingFileTarget() override;
    ReplacingFileTarget(const ReplacingFileTarget&) = delete;
    ReplacingFileTarget& operator=(const ReplacingFileTarget&) = delete;

    // Checks the target and creates the file the bytes go to. False, with
    // `reason`, when it cannot or may not.
    bool open(std::string& reason);

    void writeChars(const XMLByte* const bytes, const XMLSize_t count,
                    xercesc::XMLFormatter* const formatter) override;
    void flush() override;

    // Puts the new file in place of the target, durably. False, with
    // `reason`, when any byte may be missing; the target is then untouched.
    bool commit(std::string& reason);

private:
    bool resolveTarget(std::string& reason);
    bool checkTarget(std::string& reason);
    bool openTemporary(std::string& reason);
    // Hands the gathered bytes to the file.
    void drain();
    void writeAll(const char* bytes, std::size_t count);
    void recordError(const char* what, int error);
    bool finishTemporary(std::string& reason);
    bool replaceTarget(std::string& reason);
    void discard();

    std::string fName;       // the target as the user named it, for messages
    TargetRule fRule;
    std::string fTarget;     // the file that ends up holding the output
    std::string fWritten;    // the file actually written
    bool fDirect = false;    // writing the target itself (a device or FIFO)
    bool fTargetExists = false;
    unsigned fTargetMode = 0;  // the existing target's permission bits
    int fFd = -1;
    std::string fError;      // first write error, empty while all went well
    // Bytes gathered before a write: the writer hands over a few bytes at
    // a time, and a system call per handful costs more than the formatting.
    // A block of fixed size, filled up to fUsed.
    std::vector<char> fPending;
    std::size_t fUsed = 0;
};

}  // namespace xmlexport

#endif
