#ifndef _MString
#define _MString
// 8-bit string of the host. In this host the bytes are UTF-8.
// Deliberately no std::string constructor, no conversion to const char* and
// no ordering: the real SDK has none, so plug-in code must not rely on them.

#include <maya/MTypes.h>
#include <maya/MIOStream.h>
#include <string>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MStringArray;

class OPENMAYA_EXPORT MString
{
public:
    MString();
    MString(const char* charString);
    MString(const char* charString, int charLength);
    MString(const MString& other);
    ~MString();

    MString& operator=(const MString& other);
    MString& operator=(const char* other);
    MString& operator=(double value);

    MString& operator+=(const MString& other);
    MString& operator+=(const char* other);
    MString& operator+=(double value);
    MString& operator+=(int value);
    MString& operator+=(unsigned int value);
    MString& operator+=(float value);

    MString operator+(const MString& other) const;
    MString operator+(const char* other) const;
    MString operator+(double value) const;

    bool operator==(const MString& other) const;
    bool operator==(const char* other) const;
    bool operator!=(const MString& other) const;
    bool operator!=(const char* other) const;

    const char* asChar() const;
    const char* asChar(int& charLength) const;
    const char* asUTF8() const;
    const char* asUTF8(int& utf8Length) const;

    // Length in bytes of the 8-bit form.
    unsigned int length() const;
    // Number of characters (UTF-8 code points).
    unsigned int numChars() const;
    void clear();

    MString& set(const char* charString);
    MString& set(const char* charString, int charLength);
    MString& setUTF8(const char* utf8String);

    MStatus split(char delimiter, MStringArray& output) const;
    // Characters start to end, both inclusive.
    MString substring(int start, int end) const;
    int index(char c) const;
    int rindex(char c) const;
    bool isInt() const;
    int asInt() const;
    MString& toLowerCase();
    MString& toUpperCase();

    friend OPENMAYA_EXPORT MString operator+(const char* lhs, const MString& rhs);
    friend OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MString& s);

private:
    friend struct MStringAccess;
    std::string fText;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
