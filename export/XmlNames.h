#ifndef DENDRINE_EXPORT_XMLNAMES_H
#define DENDRINE_EXPORT_XMLNAMES_H
// The checks XML puts on what the export writes: names of elements and
// attributes, and the characters of text and attribute values. A tree is
// checked before a byte is written, so a name or character XML cannot hold
// refuses the node with a message instead of a half-written file.

#include <string>

// True for a name XML 1.0 (fifth edition) accepts as a tag or attribute
// name, characters beyond U+FFFF included: the rules the import's parser
// applies, so every name an import accepted can be exported. Colons are
// allowed (names are kept as written, prefixes included).
bool isXmlName(const std::u16string& name);

// Finds the first character that XML 1.0 cannot carry in text or attribute
// values (control characters, lone surrogates, U+FFFE, U+FFFF). Returns
// false when there is none; else sets `codePoint`.
bool findForbiddenCharacter(const std::u16string& text, unsigned& codePoint);

// "U+0001": a code point written for messages.
std::string codePointName(unsigned codePoint);

#endif
