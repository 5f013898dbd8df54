#ifndef DENDRINE_EXPORT_REPLACINGFILETARGET_H
#define DENDRINE_EXPORT_REPLACINGFILETARGET_H
// Where the XML writer puts its bytes. A failed or interrupted export must
// never destroy the file it replaces, so the bytes go to a new file beside
// the target, which is renamed over the target only once every byte reached
// the disk. Targets that are not files (devices, pipes) are written directly.
//
// The library's LocalFileFormatTarget is not used: it ignores the errors of
// closing the file, where a full disk shows up for small files, so a
// truncated file would count as written. This target keeps every error of
// writing, flushing and closing, and answers them in commit().

#include <xercesc/framework/XMLFormatter.hpp>
#include <cstdio>
#include <string>

namespace xmlexport {

class ReplacingFileTarget : public xercesc::XMLFormatTarget
{
public:
    explicit ReplacingFileTarget(const std::string& path);
    // Discards what is not committed: the target stays as it was.
    ~ReplacingFileTarget() override;
    ReplacingFileTarget(const ReplacingFileTarget&) = delete;
    ReplacingFileTarget& operator=(const ReplacingFileTarget&) = delete;

    // Creates the file the bytes go to. False, with `reason`, when it cannot.
    bool open(std::string& reason);

    void writeChars(const XMLByte* const bytes, const XMLSize_t count,
                    xercesc::XMLFormatter* const formatter) override;
    void flush() override;

    // Closes the new file and puts it in place of the target. False, with
    // `reason`, when any byte may be missing; the target is then untouched.
    bool commit(std::string& reason);

private:
    bool openTemporary(std::string& reason);
    // Hands the gathered bytes to the file.
    void drain();
    void recordError(const char* what);
    bool closeFile();
    bool replaceTarget(std::string& reason);
    void discard();

    std::string fName;       // the target as the user named it, for messages
    std::string fTarget;     // the file that ends up holding the output
    std::string fWritten;    // the file actually written
    bool fDirect;            // writing the target itself (not a regular file)
    std::FILE* fFile;
    std::string fError;      // first write error, empty while all went well
    // Bytes gathered for a temporary file: the writer hands over a few
    // bytes at a time, and one fwrite per handful costs more than the
    // formatting. Devices and pipes get every handful at once, as before.
    std::string fPending;
};

}  // namespace xmlexport

#endif
