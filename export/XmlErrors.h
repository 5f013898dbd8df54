#ifndef DENDRINE_EXPORT_XMLERRORS_H
#define DENDRINE_EXPORT_XMLERRORS_H
// The one place where the XML library's exceptions are caught. The library
// reports refused names, characters it cannot write, unwritable files and
// exhausted memory by throwing; none of these may cross into the host, so
// every call into the library runs inside runCatchingXmlErrors.

#include "export/XmlText.h"

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/dom/DOMLSException.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLException.hpp>
#include <new>
#include <string>

namespace xmlexport {

// Runs `work`. Returns true when it ran to the end; false, with `reason`
// telling what the library refused, when it threw.
template <typename Work>
bool runCatchingXmlErrors(Work&& work, std::string& reason)
{
    try {
        work();
        return true;
    } catch (const xercesc::OutOfMemoryException&) {
        reason = "the XML library ran out of memory";
    } catch (const xercesc::DOMLSException& e) {
        reason = "the XML writer refused it: " + toUtf8(e.getMessage());
    } catch (const xercesc::DOMException& e) {
        reason = "the XML library refused it: " + toUtf8(e.getMessage());
    } catch (const xercesc::SAXException& e) {
        reason = "the XML library refused it: " + toUtf8(e.getMessage());
    } catch (const xercesc::XMLException& e) {
        reason = toUtf8(e.getMessage());
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    }
    return false;
}

}  // namespace xmlexport

#endif
