#include "import/XmlExceptionText.h"

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/dom/DOMLSException.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLException.hpp>

#include <exception>
#include <new>

using namespace xercesc;

namespace {

// The library's message in UTF-8, or `fallback` when it has none or cannot
// be converted (the library may be short of memory right now).
std::string messageText(const XMLCh* message, const char* fallback)
{
    if (message == nullptr || *message == 0)
        return fallback;
    try
    {
        TranscodeToStr utf8(message, "UTF-8", XMLPlatformUtils::fgMemoryManager);
        return std::string(reinterpret_cast<const char*>(utf8.str()), utf8.length());
    }
    catch (...)
    {
        return fallback;
    }
}

std::string withCode(const char* kind, int code, const std::string& message)
{
    return std::string(kind) + " " + std::to_string(code) + ": " + message;
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
        return withCode("load/save error", e.code, messageText(e.getMessage(), "no message"));
    }
    catch (const DOMException& e)
    {
        return withCode("DOM error", e.code, messageText(e.getMessage(), "no message"));
    }
    catch (const XMLException& e)
    {
        return withCode("XML error", e.getCode(), messageText(e.getMessage(), "no message"));
    }
    catch (const SAXException& e)
    {
        return "SAX error: " + messageText(e.getMessage(), "no message");
    }
    catch (const std::bad_alloc&)
    {
        return "out of memory";
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
