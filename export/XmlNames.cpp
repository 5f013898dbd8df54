#include "export/XmlNames.h"

#include <cstdio>

namespace {

bool isHighSurrogate(unsigned c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(unsigned c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool within(unsigned c, unsigned low, unsigned high) { return c >= low && c <= high; }

// NameStartChar of XML 1.0, fifth edition (production [4]).
bool isNameStartChar(unsigned c)
{
    return c == ':' || within(c, 'A', 'Z') || c == '_' || within(c, 'a', 'z') ||
           within(c, 0xC0, 0xD6) || within(c, 0xD8, 0xF6) || within(c, 0xF8, 0x2FF) ||
           within(c, 0x370, 0x37D) || within(c, 0x37F, 0x1FFF) || within(c, 0x200C, 0x200D) ||
           within(c, 0x2070, 0x218F) || within(c, 0x2C00, 0x2FEF) || within(c, 0x3001, 0xD7FF) ||
           within(c, 0xF900, 0xFDCF) || within(c, 0xFDF0, 0xFFFD) || within(c, 0x10000, 0xEFFFF);
}

// NameChar of XML 1.0, fifth edition (production [4a]).
bool isNameChar(unsigned c)
{
    return isNameStartChar(c) || c == '-' || c == '.' || within(c, '0', '9') || c == 0xB7 ||
           within(c, 0x300, 0x36F) || within(c, 0x203F, 0x2040);
}

// The code point at text[i], advancing `i` past it; a lone surrogate is
// returned as itself.
unsigned nextCodePoint(const std::u16string& text, std::size_t& i)
{
    const unsigned c = text[i++];
    if (isHighSurrogate(c) && i < text.size() && isLowSurrogate(text[i]))
        return 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00u);
    return c;
}

// XML 1.0 Char (production [2]).
bool isXmlCharacter(unsigned c)
{
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    return within(c, 0x20, 0xD7FF) || within(c, 0xE000, 0xFFFD) || within(c, 0x10000, 0x10FFFF);
}

}  // namespace

bool isXmlName(const std::u16string& name)
{
    if (name.empty())
        return false;
    std::size_t i = 0;
    if (!isNameStartChar(nextCodePoint(name, i)))
        return false;
    while (i < name.size())
    {
        if (!isNameChar(nextCodePoint(name, i)))
            return false;
    }
    return true;
}

bool findForbiddenCharacter(const std::u16string& text, unsigned& codePoint)
{
    for (std::size_t i = 0; i < text.size();)
    {
        const unsigned c = nextCodePoint(text, i);
        if (!isXmlCharacter(c))
        {
            codePoint = c;
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
