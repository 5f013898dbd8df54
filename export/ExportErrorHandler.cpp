#include "export/ExportErrorHandler.h"

#include "xml/Utf8.h"

#include <xercesc/dom/DOMError.hpp>
#include <maya/MIOStream.h>

XERCES_CPP_NAMESPACE_USE

namespace {

// Compared by name: the numbers differ between library versions.
const char* leadText(short severity)
{
    switch (severity) {
    case DOMError::DOM_SEVERITY_WARNING:
        return "\nWarning Message: ";
    case DOMError::DOM_SEVERITY_ERROR:
        return "\nError Message: ";
    default:
        return "\nFatal Message: ";
    }
}

}  // namespace

bool ExportErrorHandler::handleError(const DOMError& error)
{
    std::cerr << leadText(error.getSeverity()) << toUtf8(error.getMessage()) << std::endl;
    return true;
}
