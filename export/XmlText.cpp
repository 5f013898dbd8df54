#include "export/XmlText.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLChar.hpp>
#include <cstdio>

XERCES_CPP_NAMESPACE_USE

namespace xmlexport {

namespace {

const XMLSize_t kTranscoderBlockSize = 16 * 1024;
const XMLCh kEmpty[] = {0};

bool isHighSurrogate(XMLCh c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(XMLCh c) { return c >= 0xDC00 && c <= 0xDFFF; }

// XML 1.0 Char, for characters of the basic multilingual plane.
bool isXmlCharacter(XMLCh c)
{
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    return c < 0xD800 || (c >= 0xE000 && c <= 0xFFFD);
}

void appendUtf8(std::string& out, unsigned codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

Utf8Transcoder::Utf8Transcoder() : fTranscoder(nullptr)
{
    XMLTransService::Codes result = XMLTransService::Ok;
    if (XMLPlatformUtils::fgTransService)
        fTranscoder = XMLPlatformUtils::fgTransService->makeNewTranscoderFor(
            "UTF-8", result, kTranscoderBlockSize, XMLPlatformUtils::fgMemoryManager);
    if (result != XMLTransService::Ok) {
        delete fTranscoder;
        fTranscoder = nullptr;
    }
}

Utf8Transcoder::~Utf8Transcoder()
{
    delete fTranscoder;
}

HostText::Utf8View HostText::viewOf(const MString& text)
{
    int length = 0;
    const char* bytes = text.asUTF8(length);
    return {reinterpret_cast<const XMLByte*>(bytes), static_cast<XMLSize_t>(length)};
}

HostText::HostText(const MString& text, const Utf8Transcoder& utf8) : HostText(viewOf(text), utf8)
{
}

HostText::HostText(Utf8View view, const Utf8Transcoder& utf8)
    : fText(view.bytes, view.length, utf8.get(), XMLPlatformUtils::fgMemoryManager)
{
}

const XMLCh* HostText::str() const
{
    return fText.str() ? fText.str() : kEmpty;
}

bool isXmlName(const HostText& name)
{
    return name.length() > 0 && XMLChar1_0::isValidName(name.str(), name.length());
}

bool findForbiddenCharacter(const HostText& text, unsigned& codePoint)
{
    const XMLCh* s = text.str();
    const XMLSize_t n = text.length();
    for (XMLSize_t i = 0; i < n; ++i) {
        if (isHighSurrogate(s[i]) && i + 1 < n && isLowSurrogate(s[i + 1])) {
            ++i;
            continue;
        }
        if (!isXmlCharacter(s[i])) {
            codePoint = s[i];
            return true;
        }
    }
    return false;
}

std::string codePointName(unsigned codePoint)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", codePoint);
    return buffer;
}

std::string toUtf8(const XMLCh* text)
{
    std::string out;
    for (; text && *text; ++text) {
        unsigned c = *text;
        if (isHighSurrogate(*text) && isLowSurrogate(text[1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[1] - 0xDC00);
            ++text;
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace xmlexport
