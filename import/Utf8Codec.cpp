#include "import/Utf8Codec.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLString.hpp>

using namespace xercesc;

namespace {

// Block size for the transcoder's internal buffers.
const XMLSize_t kTranscoderBlockSize = 16 * 1024;

}  // namespace

Utf8Codec::Utf8Codec()
    : fTranscoder(nullptr)
{
    XMLTransService::Codes result = XMLTransService::Ok;
    fTranscoder = XMLPlatformUtils::fgTransService->makeNewTranscoderFor(
        "UTF-8", result, kTranscoderBlockSize, XMLPlatformUtils::fgMemoryManager);
    if (result != XMLTransService::Ok)
    {
        delete fTranscoder;
        fTranscoder = nullptr;
    }
}

Utf8Codec::~Utf8Codec()
{
    delete fTranscoder;
}

void Utf8Codec::appendUtf8(const XMLCh* text, XMLSize_t length, std::string& out) const
{
    if (text == nullptr || length == 0)
        return;
    if (fTranscoder != nullptr)
    {
        TranscodeToStr utf8(text, length, fTranscoder, XMLPlatformUtils::fgMemoryManager);
        out.append(reinterpret_cast<const char*>(utf8.str()), utf8.length());
    }
    else
    {
        TranscodeToStr utf8(text, length, "UTF-8", XMLPlatformUtils::fgMemoryManager);
        out.append(reinterpret_cast<const char*>(utf8.str()), utf8.length());
    }
}

std::string Utf8Codec::toUtf8(const XMLCh* text) const
{
    std::string out;
    if (text != nullptr)
        appendUtf8(text, XMLString::stringLen(text), out);
    return out;
}

std::u16string Utf8Codec::fromUtf8(const std::string& bytes) const
{
    if (bytes.empty())
        return std::u16string();
    const XMLByte* data = reinterpret_cast<const XMLByte*>(bytes.data());
    if (fTranscoder != nullptr)
    {
        TranscodeFromStr utf16(data, bytes.size(), fTranscoder, XMLPlatformUtils::fgMemoryManager);
        return std::u16string(utf16.str(), utf16.length());
    }
    TranscodeFromStr utf16(data, bytes.size(), "UTF-8", XMLPlatformUtils::fgMemoryManager);
    return std::u16string(utf16.str(), utf16.length());
}
