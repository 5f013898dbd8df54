// MString and MStringArray.

#include "Api.h"

#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace {

std::string formatDouble(double value)
{
    std::ostringstream os;
    os.precision(15);
    os << value;
    return os.str();
}

}  // namespace

MString::MString() = default;
MString::MString(const char* charString) : fText(charString ? charString : "") {}
MString::MString(const char* charString, int charLength)
    : fText(charString && charLength > 0 ? std::string(charString, charLength) : std::string())
{
}
MString::MString(const MString& other) = default;
MString::~MString() = default;

MString& MString::operator=(const MString& other) = default;
MString& MString::operator=(const char* other)
{
    fText = other ? other : "";
    return *this;
}
MString& MString::operator=(double value)
{
    fText = formatDouble(value);
    return *this;
}

MString& MString::operator+=(const MString& other)
{
    fText += other.fText;
    return *this;
}
MString& MString::operator+=(const char* other)
{
    if (other) fText += other;
    return *this;
}
MString& MString::operator+=(double value)
{
    fText += formatDouble(value);
    return *this;
}
MString& MString::operator+=(int value)
{
    fText += std::to_string(value);
    return *this;
}
MString& MString::operator+=(unsigned int value)
{
    fText += std::to_string(value);
    return *this;
}
MString& MString::operator+=(float value)
{
    fText += formatDouble(value);
    return *this;
}

MString MString::operator+(const MString& other) const
{
    MString result(*this);
    result += other;
    return result;
}
MString MString::operator+(const char* other) const
{
    MString result(*this);
    result += other;
    return result;
}
MString MString::operator+(double value) const
{
    MString result(*this);
    result += value;
    return result;
}

bool MString::operator==(const MString& other) const { return fText == other.fText; }
bool MString::operator==(const char* other) const { return fText == (other ? other : ""); }
bool MString::operator!=(const MString& other) const { return !(*this == other); }
bool MString::operator!=(const char* other) const { return !(*this == other); }

const char* MString::asChar() const { return fText.c_str(); }
const char* MString::asChar(int& charLength) const
{
    charLength = static_cast<int>(fText.size());
    return fText.c_str();
}
const char* MString::asUTF8() const { return fText.c_str(); }
const char* MString::asUTF8(int& utf8Length) const { return asChar(utf8Length); }

unsigned int MString::length() const { return static_cast<unsigned int>(fText.size()); }

unsigned int MString::numChars() const
{
    unsigned int count = 0;
    for (unsigned char c : fText)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

void MString::clear() { fText.clear(); }

MString& MString::set(const char* charString) { return *this = charString; }
MString& MString::set(const char* charString, int charLength)
{
    *this = MString(charString, charLength);
    return *this;
}
MString& MString::setUTF8(const char* utf8String) { return *this = utf8String; }

MStatus MString::split(char delimiter, MStringArray& output) const
{
    output.clear();
    std::size_t start = 0;
    while (start <= fText.size()) {
        std::size_t end = fText.find(delimiter, start);
        if (end == std::string::npos) end = fText.size();
        if (end > start) output.append(MString(fText.substr(start, end - start).c_str()));
        start = end + 1;
    }
    return MS::kSuccess;
}

MString MString::substring(int start, int end) const
{
    int size = static_cast<int>(fText.size());
    if (start < 0) start = 0;
    if (end >= size) end = size - 1;
    if (start > end) return MString();
    return MString(fText.c_str() + start, end - start + 1);
}

int MString::index(char c) const
{
    std::size_t pos = fText.find(c);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int MString::rindex(char c) const
{
    std::size_t pos = fText.rfind(c);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

bool MString::isInt() const
{
    if (fText.empty()) return false;
    char* end = nullptr;
    std::strtol(fText.c_str(), &end, 10);
    return end && *end == '\0';
}

int MString::asInt() const { return std::atoi(fText.c_str()); }

MString& MString::toLowerCase()
{
    std::transform(fText.begin(), fText.end(), fText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return *this;
}

MString& MString::toUpperCase()
{
    std::transform(fText.begin(), fText.end(), fText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return *this;
}

MString operator+(const char* lhs, const MString& rhs)
{
    MString result(lhs);
    result += rhs;
    return result;
}

std::ostream& operator<<(std::ostream& os, const MString& s)
{
    return os << s.fText;
}

OPENMAYA_NAMESPACE_CLOSE
