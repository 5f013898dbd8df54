#include "xml/XmlErrors.h"

#include "xml/Utf8.h"

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/dom/DOMLSException.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLException.hpp>

#include <exception>
#include <new>

using namespace xercesc;

namespace {

// The library's message in UTF-8 (converted without the library, which
// may be short of memory right now).
std::string messageText(const XMLCh* message)
{
    if (message == nullptr || *message == 0)
        return "no message";
    return toUtf8(message);
}

std::string withCode(const char* kind, int code, const XMLCh* message)
{
    return std::string(kind) + " " + std::to_string(code) + ": " + messageText(message);
}

// Rethrows the exception in flight and names it; may throw bad_alloc.
std::string describeRethrown()
{
    try
    {
        throw;
    }
    catch (const OutOfMemoryException&)
    {
        return "out of memory";
    }
    catch (const DOMLSException& e)
    {
        return withCode("load/save error", e.code, e.getMessage());
    }
    catch (const DOMException& e)
    {
        return withCode("DOM error", e.code, e.getMessage());
    }
    catch (const XMLException& e)
    {
        return withCode("XML error", e.getCode(), e.getMessage());
    }
    catch (const SAXException& e)
    {
        return "SAX error: " + messageText(e.getMessage());
    }
    catch (const std::bad_alloc&)
    {
        return "out of memory";
    }
    catch (const XmlLibraryPanic& e)
    {
        return e.what();
    }
    catch (const std::exception& e)
    {
        return std::string("unexpected error: ") + e.what();
    }
    catch (...)
    {
        return "unexpected error";
    }
}

}  // namespace

std::string describeCurrentException()
{
    try
    {
        return describeRethrown();
    }
    catch (...)
    {
        // Short enough to need no allocation.
        return "out of memory";
    }
}

std::string describeXmlFailure()
{
    std::string description = describeCurrentException();
    try
    {
        return "the XML library failed: " + description;
    }
    catch (...)
    {
        return description;
    }
}
