#ifndef DENDRINE_EXPORT_XMLFILEWRITER_H
#define DENDRINE_EXPORT_XMLFILEWRITER_H
// Writes a built DOM document into an XML file: its document element with
// everything below it, pretty-printed, in UTF-8, with no XML declaration.
// The writer's own reports go to standard error (ExportErrorHandler).

#include "export/ReplacingFileTarget.h"

#include <maya/MStatus.h>
#include <xercesc/util/XercesDefs.hpp>
#include <string>

XERCES_CPP_NAMESPACE_BEGIN
class DOMDocument;
XERCES_CPP_NAMESPACE_END

namespace xmlexport {

// Replaces `fileName` with the document, or leaves it untouched and returns
// kFailure with `reason` when the file could not be written completely or
// `rule` forbids the target. The library must be initialised; the document
// stays the caller's.
MStatus writeXmlFile(xercesc::DOMDocument* document, const std::string& fileName,
                     TargetRule rule, std::string& reason);

}  // namespace xmlexport

#endif
