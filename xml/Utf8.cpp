#include "xml/Utf8.h"

#include <maya/MString.h>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLString.hpp>

using namespace xercesc;

namespace {

const unsigned kReplacementCharacter = 0xFFFD;

bool isHighSurrogate(unsigned c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(unsigned c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Writes one code point (at most four bytes) at `to`; returns the end.
char* putUtf8(char* to, unsigned point)
{
    if (point < 0x80)
    {
        *to++ = static_cast<char>(point);
    }
    else if (point < 0x800)
    {
        *to++ = static_cast<char>(0xC0 | (point >> 6));
        *to++ = static_cast<char>(0x80 | (point & 0x3F));
    }
    else if (point < 0x10000)
    {
        *to++ = static_cast<char>(0xE0 | (point >> 12));
        *to++ = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *to++ = static_cast<char>(0x80 | (point & 0x3F));
    }
    else
    {
        *to++ = static_cast<char>(0xF0 | (point >> 18));
        *to++ = static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        *to++ = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *to++ = static_cast<char>(0x80 | (point & 0x3F));
    }
    return to;
}

bool inRange(unsigned char b, unsigned char low, unsigned char high)
{
    return b >= low && b <= high;
}

// Decodes one well-formed UTF-8 sequence at bytes[i]; returns its size, or
// 0 at anything RFC 3629 forbids (overlong forms, surrogates, past
// U+10FFFF, cut short).
std::size_t decodeOne(const unsigned char* b, std::size_t i, std::size_t n, unsigned& point)
{
    const unsigned char b0 = b[i];
    if (b0 < 0x80)
    {
        point = b0;
        return 1;
    }
    if (inRange(b0, 0xC2, 0xDF) && i + 1 < n && inRange(b[i + 1], 0x80, 0xBF))
    {
        point = ((b0 & 0x1Fu) << 6) | (b[i + 1] & 0x3Fu);
        return 2;
    }
    if (inRange(b0, 0xE0, 0xEF) && i + 2 < n &&
        inRange(b[i + 1], b0 == 0xE0 ? 0xA0 : 0x80, b0 == 0xED ? 0x9F : 0xBF) &&
        inRange(b[i + 2], 0x80, 0xBF))
    {
        point = ((b0 & 0x0Fu) << 12) | ((b[i + 1] & 0x3Fu) << 6) | (b[i + 2] & 0x3Fu);
        return 3;
    }
    if (inRange(b0, 0xF0, 0xF4) && i + 3 < n &&
        inRange(b[i + 1], b0 == 0xF0 ? 0x90 : 0x80, b0 == 0xF4 ? 0x8F : 0xBF) &&
        inRange(b[i + 2], 0x80, 0xBF) && inRange(b[i + 3], 0x80, 0xBF))
    {
        point = ((b0 & 0x07u) << 18) | ((b[i + 1] & 0x3Fu) << 12) | ((b[i + 2] & 0x3Fu) << 6) |
                (b[i + 3] & 0x3Fu);
        return 4;
    }
    return 0;
}

// Decodes well-formed UTF-8; false at anything else.
bool decodeWellFormed(const unsigned char* bytes, std::size_t length, std::u16string& out)
{
    out.resize(length);  // never more units than bytes
    char16_t* to = &out[0];
    for (std::size_t i = 0; i < length;)
    {
        unsigned point = 0;
        const std::size_t size = decodeOne(bytes, i, length, point);
        if (size == 0)
            return false;
        if (point >= 0x10000)
        {
            *to++ = static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            *to++ = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
        else
        {
            *to++ = static_cast<char16_t>(point);
        }
        i += size;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

}  // namespace

void appendUtf8(const XMLCh* text, XMLSize_t length, std::string& out)
{
    if (text == nullptr || length == 0)
        return;
    const std::size_t start = out.size();
    // Names and most values are ASCII: one byte a unit, copied as they are.
    XMLSize_t ascii = 0;
    while (ascii < length && text[ascii] < 0x80)
        ++ascii;
    out.resize(start + ascii + 3 * (length - ascii));  // no unit takes more than 3 bytes
    char* to = &out[start];
    for (XMLSize_t i = 0; i < ascii; ++i)
        *to++ = static_cast<char>(text[i]);
    for (XMLSize_t i = ascii; i < length; ++i)
    {
        unsigned c = text[i];
        if (isHighSurrogate(c) && i + 1 < length && isLowSurrogate(text[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        else if (isHighSurrogate(c) || isLowSurrogate(c))
            c = kReplacementCharacter;
        to = putUtf8(to, c);
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

std::string toUtf8(const XMLCh* text)
{
    std::string out;
    if (text != nullptr)
        appendUtf8(text, XMLString::stringLen(text), out);
    return out;
}

namespace {

void decodeInto(const char* bytes, std::size_t length, std::u16string& out)
{
    out.clear();
    if (length == 0)
        return;
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes);
    if (decodeWellFormed(data, length, out))
        return;
    // The library names what is wrong (and throws).
    TranscodeFromStr utf16(data, length, "UTF-8", XMLPlatformUtils::fgMemoryManager);
    out.assign(utf16.str(), utf16.length());
}

}  // namespace

std::u16string fromUtf8(const char* bytes, std::size_t length)
{
    std::u16string out;
    decodeInto(bytes, length, out);
    return out;
}

std::u16string fromUtf8(const std::string& bytes)
{
    return fromUtf8(bytes.data(), bytes.size());
}

std::u16string fromHost(const MString& text)
{
    std::u16string out;
    fromHost(text, out);
    return out;
}

void fromHost(const MString& text, std::u16string& out)
{
    int length = 0;
    const char* bytes = text.asUTF8(length);
    decodeInto(bytes, static_cast<std::size_t>(length), out);
}
