#include "import/ImportErrorHandler.h"

#include <xercesc/dom/DOMError.hpp>
#include <xercesc/dom/DOMLocator.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>

#include <iostream>

using namespace xercesc;

namespace {

// A UTF-8 copy of a library text for the report; never throws, since the
// handler is called from inside the parser.
std::string reportText(const XMLCh* text)
{
    if (text == nullptr || *text == 0)
        return std::string();
    try
    {
        TranscodeToStr utf8(text, "UTF-8", XMLPlatformUtils::fgMemoryManager);
        return std::string(reinterpret_cast<const char*>(utf8.str()), utf8.length());
    }
    catch (...)
    {
        return std::string("?");
    }
}

// The lead text tells the severity by the library's named constants.
const char* leadText(DOMError::ErrorSeverity severity)
{
    switch (severity)
    {
    case DOMError::DOM_SEVERITY_WARNING:
        return "\nWarning at file ";
    case DOMError::DOM_SEVERITY_ERROR:
        return "\nError at file ";
    default:
        return "\nFatal Error at file ";
    }
}

bool isFatal(DOMError::ErrorSeverity severity)
{
    return severity != DOMError::DOM_SEVERITY_WARNING && severity != DOMError::DOM_SEVERITY_ERROR;
}

}  // namespace

bool ImportErrorHandler::handleError(const DOMError& error)
{
    ParserReport report;
    report.message = reportText(error.getMessage());
    if (const DOMLocator* where = error.getLocation())
    {
        report.uri = reportText(where->getURI());
        report.line = static_cast<long long>(where->getLineNumber());
        report.column = static_cast<long long>(where->getColumnNumber());
    }
    std::cerr << leadText(error.getSeverity()) << report.uri << ", line " << report.line
              << ", char " << report.column << "\n  Message: " << report.message << std::endl;

    if (isFatal(error.getSeverity()) && fFatalErrors++ == 0)
        fFirstFatal = report;
    return true;
}
