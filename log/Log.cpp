#include "log/Log.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {

bool has(ErrorLine options, ErrorLine option)
{
    return (static_cast<unsigned>(options) & static_cast<unsigned>(option)) != 0;
}

}  // namespace

bool logError(const char* text, const MStatus& status, ErrorLine options)
{
    const bool write =
        has(options, ErrorLine::EvenNotFound) ? status != MS::kSuccess : failed(status);
    if (!write)
        return false;
    if (has(options, ErrorLine::TextOnly)) {
        std::cout << text << std::flush;
        return true;
    }
    std::cout << text << status.errorString().asChar();
    if (has(options, ErrorLine::BlankLineAfter))
        std::cout << "\n";
    std::cout << std::endl;
    return true;
}

namespace {

// Writes `text` and a line end, then flushes: what `<< text << std::endl`
// does, straight to the stream's buffer in one piece where the line is
// short (the import and export write several such lines per element). A
// stream in a failed state writes nothing, and a failed write fails it, as
// with the stream's own operators.
void writeLine(const char* text, std::size_t length)
{
    std::ostream& out = std::cout;
    std::streambuf* buffer = out.rdbuf();
    if (!out.good() || buffer == nullptr)
        return;
    char line[256];
    bool written;
    if (length < sizeof line) {
        std::memcpy(line, text, length);
        line[length] = '\n';
        written = buffer->sputn(line, static_cast<std::streamsize>(length + 1)) ==
                  static_cast<std::streamsize>(length + 1);
    } else {
        written = buffer->sputn(text, static_cast<std::streamsize>(length)) ==
                      static_cast<std::streamsize>(length) &&
                  buffer->sputc('\n') != std::char_traits<char>::eof();
    }
    if (!written || buffer->pubsync() == -1)
        out.setstate(std::ios::badbit);
}

}  // namespace

void logLine(const char* text)
{
    writeLine(text, std::strlen(text));
}

void logLine(const MString& text)
{
    logLine(text.asChar());  // up to a NUL byte, as the stream writes a C string
}

void logNumber(unsigned int number)
{
    std::cout << number << std::endl;
}

MString namesLine(const MStringArray& names)
{
    // Built as one standard string: a listing may name every node of a
    // large scene, and the line is converted once.
    std::string line = "[ ";
    for (unsigned int i = 0; i < names.length(); ++i) {
        line += names[i].asChar();
        line += ", ";
    }
    line += " ]";
    return MString(line.c_str());
}

void logNames(const MStringArray& names)
{
    logLine(namesLine(names));
}
