#ifndef DENDRINE_IMPORT_UTF8_CODEC_H
#define DENDRINE_IMPORT_UTF8_CODEC_H
// Conversion between the XML library's UTF-16 strings and the UTF-8 bytes
// that host strings hold. Explicit UTF-8 keeps every character, whatever the
// process locale or the encoding the XML file declared.

#include <xercesc/util/XercesDefs.hpp>
#include <string>

XERCES_CPP_NAMESPACE_BEGIN
class XMLTranscoder;
XERCES_CPP_NAMESPACE_END

// One UTF-8 transcoder, made once and reused for every string of an import.
// Needs an initialised XML library; destroy it before the library is
// terminated. Conversions may throw the library's exceptions (a malformed
// UTF-8 input throws its XMLException), which the caller contains.
class Utf8Codec
{
public:
    Utf8Codec();
    ~Utf8Codec();
    Utf8Codec(const Utf8Codec&) = delete;
    Utf8Codec& operator=(const Utf8Codec&) = delete;

    // Appends the UTF-8 form of `length` UTF-16 units of `text` to `out`.
    void appendUtf8(const XMLCh* text, XMLSize_t length, std::string& out) const;
    // The UTF-8 form of a zero-terminated string; "" for a null pointer.
    std::string toUtf8(const XMLCh* text) const;
    // The UTF-16 form of UTF-8 bytes.
    std::u16string fromUtf8(const std::string& bytes) const;

private:
    xercesc::XMLTranscoder* fTranscoder;
};

#endif
