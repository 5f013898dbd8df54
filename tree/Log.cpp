#include "tree/Log.h"

#include <iostream>

namespace {

void writeErrorLine(const char* text, const MStatus& status, const char* tail)
{
    std::cout << text << status.errorString().asChar() << tail << std::endl;
}

}  // namespace

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

bool logError(const char* text, const MStatus& status)
{
    if (!failed(status))
        return false;
    writeErrorLine(text, status, "");
    return true;
}

bool logErrorUnlessSuccess(const char* text, const MStatus& status)
{
    if (status == MS::kSuccess)
        return false;
    writeErrorLine(text, status, "");
    return true;
}

bool logErrorBlank(const char* text, const MStatus& status, bool strict)
{
    const bool write = strict ? status != MS::kSuccess : failed(status);
    if (!write)
        return false;
    writeErrorLine(text, status, "\n");
    return true;
}
