#ifndef DENDRINE_EXPORT_XMLTEXT_H
#define DENDRINE_EXPORT_XMLTEXT_H
// Text crossing from the host's strings into the XML library's 16-bit
// strings, and the checks XML puts on names and character data. The host's
// strings are read as UTF-8 (MString::asUTF8), so no character depends on
// the process locale or the library's local code page.

#include <maya/MString.h>
#include <xercesc/util/TransService.hpp>
#include <memory>
#include <string>

namespace xmlexport {

// The library's UTF-8 transcoder, made once per export and reused for every
// string (making one per string costs more than the transcoding itself).
// Needs an initialised library; release it before the library terminates.
class Utf8Transcoder
{
public:
    Utf8Transcoder();
    ~Utf8Transcoder();
    Utf8Transcoder(const Utf8Transcoder&) = delete;
    Utf8Transcoder& operator=(const Utf8Transcoder&) = delete;

    bool ready() const { return fTranscoder != nullptr; }
    xercesc::XMLTranscoder* get() const { return fTranscoder; }

private:
    xercesc::XMLTranscoder* fTranscoder;
};

// One host string as a 16-bit string owned by this object. Throws the
// library's TranscodingException for bytes that are not UTF-8: construct
// it only where the library's exceptions are caught. Well-formed UTF-8 is
// decoded here; anything else goes to the library, which decides.
class HostText
{
public:
    HostText(const MString& text, const Utf8Transcoder& utf8);
    HostText(const HostText&) = delete;
    HostText& operator=(const HostText&) = delete;

    const XMLCh* str() const;
    XMLSize_t length() const { return fSlow ? fSlow->length() : fFast.size(); }

private:
    std::u16string fFast;
    std::unique_ptr<xercesc::TranscodeFromStr> fSlow;   // set when the library decoded
};

// True for a name XML 1.0 accepts as a tag or attribute name (colons
// allowed: names are kept as written, prefixes included).
bool isXmlName(const HostText& name);

// Finds the first character that XML 1.0 cannot carry in text or attribute
// values (control characters, lone surrogates, U+FFFE, U+FFFF). Returns
// false when there is none; else sets `codePoint`.
bool findForbiddenCharacter(const HostText& text, unsigned& codePoint);

// "U+0001": a code point written for messages.
std::string codePointName(unsigned codePoint);

// A library string (messages) as UTF-8. Makes no library call, so it is
// safe inside the handlers of the library's exceptions.
std::string toUtf8(const XMLCh* text);

}  // namespace xmlexport

#endif
