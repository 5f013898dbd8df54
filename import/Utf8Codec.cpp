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

namespace {

// Appends well-formed UTF-16 as UTF-8 without the library (whose
// transcoding allocates per string). Returns false, leaving `out` as it
// was, at a lone surrogate: such text goes to the library, which decides.
bool appendWellFormedUtf8(const XMLCh* text, XMLSize_t length, std::string& out)
{
    const size_t start = out.size();
    out.resize(start + 3 * length);  // no UTF-16 unit takes more than 3 bytes
    char* to = &out[start];
    for (XMLSize_t i = 0; i < length; ++i)
    {
        const unsigned c = text[i];
        if (c < 0x80)
        {
            *to++ = static_cast<char>(c);
        }
        else if (c < 0x800)
        {
            *to++ = static_cast<char>(0xC0 | (c >> 6));
            *to++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0xD800 || c >= 0xE000)
        {
            *to++ = static_cast<char>(0xE0 | (c >> 12));
            *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *to++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        {
            const unsigned point = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
            *to++ = static_cast<char>(0xF0 | (point >> 18));
            *to++ = static_cast<char>(0x80 | ((point >> 12) & 0x3F));
            *to++ = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            *to++ = static_cast<char>(0x80 | (point & 0x3F));
        }
        else
        {
            out.resize(start);
            return false;
        }
    }
    out.resize(static_cast<size_t>(to - out.data()));
    return true;
}

}  // namespace

void Utf8Codec::appendUtf8(const XMLCh* text, XMLSize_t length, std::string& out) const
{
    if (text == nullptr || length == 0)
        return;
    if (appendWellFormedUtf8(text, length, out))
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
