#ifndef DENDRINE_XML_UTF8_H
#define DENDRINE_XML_UTF8_H
// The one pair of conversions between the XML library's 16-bit strings
// (UTF-16) and the UTF-8 bytes host strings hold (MString::asUTF8 and
// setUTF8). Explicit UTF-8 keeps every character whatever the process
// locale, the library's local code page or the encoding a file declared.
//
// Use these, not XMLString::transcode: that one follows the local code page
// on builds other than Debian's and loses characters.

#include <maya/MString.h>
#include <xercesc/util/XercesDefs.hpp>
#include <string>

// Appends the UTF-8 form of `length` UTF-16 units of `text` to `out`. A
// lone surrogate (which no parsed document holds) becomes U+FFFD. Makes no
// library call: safe inside the handlers of the library's exceptions and
// without an initialised library.
void appendUtf8(const XMLCh* text, XMLSize_t length, std::string& out);

// The UTF-8 form of a zero-terminated string; "" for a null pointer.
std::string toUtf8(const XMLCh* text);

// The UTF-16 form of UTF-8 bytes. Well-formed UTF-8 (RFC 3629) is decoded
// here; anything else goes to the library, which throws its XMLException:
// call it only with an initialised library, where its exceptions are
// caught.
std::u16string fromUtf8(const char* bytes, std::size_t length);
std::u16string fromUtf8(const std::string& bytes);

// A host string's UTF-16 form, as fromUtf8.
std::u16string fromHost(const MString& text);
// The same into `out`, which keeps its buffer: for loops over many strings.
void fromHost(const MString& text, std::u16string& out);

#endif
