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

namespace {

bool inRange(XMLByte b, XMLByte low, XMLByte high) { return b >= low && b <= high; }

// Decodes UTF-8 that RFC 3629 calls well-formed (no overlong forms, no
// surrogates, nothing past U+10FFFF); false at anything else, leaving
// such bytes to the library.
bool decodeWellFormedUtf8(const XMLByte* bytes, XMLSize_t length, std::u16string& out)
{
    out.resize(length);  // never more units than bytes
    char16_t* to = &out[0];
    for (XMLSize_t i = 0; i < length;) {
        const XMLByte b0 = bytes[i];
        unsigned point = 0;
        XMLSize_t size = 1;
        if (b0 < 0x80) {
            point = b0;
        } else if (inRange(b0, 0xC2, 0xDF) && i + 1 < length && inRange(bytes[i + 1], 0x80, 0xBF)) {
            point = ((b0 & 0x1Fu) << 6) | (bytes[i + 1] & 0x3Fu);
            size = 2;
        } else if (inRange(b0, 0xE0, 0xEF) && i + 2 < length &&
                   inRange(bytes[i + 1], b0 == 0xE0 ? 0xA0 : 0x80, b0 == 0xED ? 0x9F : 0xBF) &&
                   inRange(bytes[i + 2], 0x80, 0xBF)) {
            point = ((b0 & 0x0Fu) << 12) | ((bytes[i + 1] & 0x3Fu) << 6) | (bytes[i + 2] & 0x3Fu);
            size = 3;
        } else if (inRange(b0, 0xF0, 0xF4) && i + 3 < length &&
                   inRange(bytes[i + 1], b0 == 0xF0 ? 0x90 : 0x80, b0 == 0xF4 ? 0x8F : 0xBF) &&
                   inRange(bytes[i + 2], 0x80, 0xBF) && inRange(bytes[i + 3], 0x80, 0xBF)) {
            point = ((b0 & 0x07u) << 18) | ((bytes[i + 1] & 0x3Fu) << 12) | ((bytes[i + 2] & 0x3Fu) << 6) |
                    (bytes[i + 3] & 0x3Fu);
            size = 4;
        } else {
            return false;
        }
        if (point >= 0x10000) {
            *to++ = static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            *to++ = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            *to++ = static_cast<char16_t>(point);
        }
        i += size;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

}  // namespace

HostText::HostText(const MString& text, const Utf8Transcoder& utf8)
{
    int length = 0;
    const XMLByte* bytes = reinterpret_cast<const XMLByte*>(text.asUTF8(length));
    if (decodeWellFormedUtf8(bytes, static_cast<XMLSize_t>(length), fFast))
        return;
    fFast.clear();
    fSlow = std::make_unique<TranscodeFromStr>(bytes, static_cast<XMLSize_t>(length), utf8.get(),
                                               XMLPlatformUtils::fgMemoryManager);
}

const XMLCh* HostText::str() const
{
    if (!fSlow)
        return fFast.c_str();
    return fSlow->str() ? fSlow->str() : kEmpty;
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
