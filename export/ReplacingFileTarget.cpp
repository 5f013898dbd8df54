#include "export/ReplacingFileTarget.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace xmlexport {

namespace {

const int kNameAttempts = 100;
const std::size_t kFileBufferSize = 64 * 1024;

// A symbolic link is replaced by writing the file it points to, so the
// link itself survives the export.
std::string resolvedTarget(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_symlink(fs::path(path), ec))
        return path;
    fs::path resolved = fs::weakly_canonical(fs::path(path), ec);
    return ec ? path : resolved.string();
}

// Devices, pipes and sockets cannot be replaced by renaming; directories
// go the temporary way and are refused by the rename.
bool isSpecialFile(const std::string& path)
{
    std::error_code ec;
    fs::file_status status = fs::status(fs::path(path), ec);
    if (ec || !fs::exists(status))
        return false;
    return !fs::is_regular_file(status) && !fs::is_directory(status);
}

std::string temporaryName(const std::string& target, int attempt)
{
    unsigned long long stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    return target + "." + std::to_string((stamp + attempt) % 1000000007ULL) + ".tmp";
}

std::string errorText(int error)
{
    return std::strerror(error);
}

}  // namespace

ReplacingFileTarget::ReplacingFileTarget(const std::string& path)
    : fName(path), fTarget(resolvedTarget(path)), fDirect(isSpecialFile(fTarget)), fFile(nullptr)
{
}

ReplacingFileTarget::~ReplacingFileTarget()
{
    discard();
}

bool ReplacingFileTarget::open(std::string& reason)
{
    if (!fDirect)
        return openTemporary(reason);
    fWritten = fTarget;
    fFile = std::fopen(fWritten.c_str(), "wb");
    if (!fFile)
        reason = "cannot write " + fName + ": " + errorText(errno);
    return fFile != nullptr;
}

// Exclusive creation ("x"): an existing file of that name is never touched.
bool ReplacingFileTarget::openTemporary(std::string& reason)
{
    for (int attempt = 0; attempt < kNameAttempts && !fFile; ++attempt) {
        fWritten = temporaryName(fTarget, attempt);
        fFile = std::fopen(fWritten.c_str(), "wbx");
        if (!fFile && errno != EEXIST) {
            reason = "cannot write " + fName + ": " + errorText(errno);
            fWritten.clear();
            return false;
        }
    }
    if (!fFile) {
        reason = "cannot write " + fName + ": no free name for a temporary file beside it";
        fWritten.clear();
        return false;
    }
    std::setvbuf(fFile, nullptr, _IOFBF, kFileBufferSize);
    return true;
}

void ReplacingFileTarget::recordError(const char* what)
{
    if (fError.empty())
        fError = std::string(what) + " " + fName + ": " + errorText(errno);
}

void ReplacingFileTarget::writeChars(const XMLByte* const bytes, const XMLSize_t count,
                                     xercesc::XMLFormatter* const)
{
    if (!fFile || !fError.empty())
        return;
    if (fDirect) {
        if (std::fwrite(bytes, 1, count, fFile) != count)
            recordError("cannot write");
        return;
    }
    fPending.append(reinterpret_cast<const char*>(bytes), count);
    if (fPending.size() >= kFileBufferSize)
        drain();
}

void ReplacingFileTarget::drain()
{
    if (fFile && fError.empty() && !fPending.empty() &&
        std::fwrite(fPending.data(), 1, fPending.size(), fFile) != fPending.size())
        recordError("cannot write");
    fPending.clear();
}

void ReplacingFileTarget::flush()
{
    drain();
    if (fFile && fError.empty() && std::fflush(fFile) != 0)
        recordError("cannot write");
}

bool ReplacingFileTarget::closeFile()
{
    if (!fFile)
        return false;
    bool closed = std::fclose(fFile) == 0;
    fFile = nullptr;
    if (!closed)
        recordError("cannot finish writing");
    return closed;
}

bool ReplacingFileTarget::commit(std::string& reason)
{
    flush();
    bool closed = closeFile();
    if (!closed || !fError.empty()) {
        reason = fError.empty() ? "cannot write " + fName : fError;
        discard();
        return false;
    }
    if (fDirect || replaceTarget(reason)) {
        fWritten.clear();
        return true;
    }
    discard();
    return false;
}

// The new file takes the replaced file's permissions, then its place.
bool ReplacingFileTarget::replaceTarget(std::string& reason)
{
    std::error_code ec;
    fs::file_status old = fs::status(fs::path(fTarget), ec);
    if (!ec && fs::is_regular_file(old))
        fs::permissions(fs::path(fWritten), old.permissions(), ec);
    fs::rename(fs::path(fWritten), fs::path(fTarget), ec);
    if (ec)
        reason = "cannot replace " + fName + ": " + ec.message();
    return !ec;
}

void ReplacingFileTarget::discard()
{
    fPending.clear();
    if (fFile) {
        std::fclose(fFile);
        fFile = nullptr;
    }
    if (!fDirect && !fWritten.empty()) {
        std::error_code ec;
        fs::remove(fs::path(fWritten), ec);
    }
    fWritten.clear();
}

}  // namespace xmlexport
