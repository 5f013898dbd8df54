#include "import/ImportErrorHandler.h"

#include "xml/Utf8.h"

#include <xercesc/dom/DOMError.hpp>
#include <xercesc/dom/DOMLocator.hpp>

#include <iostream>

using namespace xercesc;

namespace {

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
    // Converted without the library, so the handler, called from inside
    // the parser, cannot make it throw.
    ParserReport report;
    report.message = toUtf8(error.getMessage());
    if (const DOMLocator* where = error.getLocation())
    {
        report.uri = toUtf8(where->getURI());
        report.line = static_cast<long long>(where->getLineNumber());
        report.column = static_cast<long long>(where->getColumnNumber());
    }
    std::cerr << leadText(error.getSeverity()) << report.uri << ", line " << report.line
              << ", char " << report.column << "\n  Message: " << report.message << std::endl;

    if (isFatal(error.getSeverity()) && fFatalErrors++ == 0)
        fFirstFatal = report;
    return true;
}
