#include "log/Log.h"

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

void logLine(const char* text)
{
    std::cout << text << std::endl;
}

void logLine(const MString& text)
{
    std::cout << text.asChar() << std::endl;
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
