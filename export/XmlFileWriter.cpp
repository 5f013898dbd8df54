#include "export/XmlFileWriter.h"

#include "export/ExportErrorHandler.h"
#include "export/ExportFilter.h"
#include "export/ReplacingFileTarget.h"
#include "xml/XmlErrors.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

XERCES_CPP_NAMESPACE_USE

namespace xmlexport {

namespace {

// Each set only where the writer says it can be: pretty-printing, CDATA
// split where needed, defaults left out, a byte-order mark (written only
// for whole documents, so never here).
const XMLCh* const kWriterSettings[] = {
    XMLUni::fgDOMWRTSplitCdataSections,
    XMLUni::fgDOMWRTDiscardDefaultContent,
    XMLUni::fgDOMWRTFormatPrettyPrint,
    XMLUni::fgDOMWRTBOM,
};

// The objects of one write, released in the order the library needs:
// output, then serializer; the file target and handlers outlive both.
struct WriterObjects
{
    DOMLSSerializer* serializer = nullptr;
    DOMLSOutput* output = nullptr;

    ~WriterObjects()
    {
        if (output)
            output->release();
        if (serializer)
            serializer->release();
    }
};

void configure(DOMLSSerializer* serializer, ExportFilter& filter, ExportErrorHandler& handler)
{
    serializer->setFilter(&filter);
    DOMConfiguration* config = serializer->getDomConfig();
    config->setParameter(XMLUni::fgDOMErrorHandler,
                         static_cast<const void*>(static_cast<DOMErrorHandler*>(&handler)));
    for (const XMLCh* setting : kWriterSettings) {
        if (config->canSetParameter(setting, true))
            config->setParameter(setting, true);
    }
}

DOMImplementationLS* writerImplementation()
{
    return DOMImplementationRegistry::getDOMImplementation(u"LS");
}

// Serializes the document element into `target`; false when the writer
// gave up without throwing.
bool serialize(DOMImplementationLS* ls, DOMDocument* document, ReplacingFileTarget& target)
{
    ExportFilter filter(ExportFilter::kExportedNodeTypes);
    ExportErrorHandler handler;
    WriterObjects writer;
    writer.serializer = ls->createLSSerializer(XMLPlatformUtils::fgMemoryManager);
    configure(writer.serializer, filter, handler);
    writer.output = ls->createLSOutput(XMLPlatformUtils::fgMemoryManager);
    writer.output->setEncoding(u"UTF-8");
    writer.output->setByteStream(&target);
    bool written = writer.serializer->write(document->getDocumentElement(), writer.output);
    target.flush();
    return written;
}

}  // namespace

MStatus writeXmlFile(DOMDocument* document, const std::string& fileName, TargetRule rule,
                     std::string& reason)
{
    DOMImplementationLS* ls = writerImplementation();
    if (!ls) {
        reason = "the XML library has no writer";
        return MS::kFailure;
    }
    if (!document || !document->getDocumentElement()) {
        reason = "there is no element to write";
        return MS::kFailure;
    }
    ReplacingFileTarget target(fileName, rule);
    if (!target.open(reason))
        return MS::kFailure;
    bool written = false;
    if (!runCatchingXmlErrors([&] { written = serialize(ls, document, target); }, reason))
        return MS::kFailure;
    if (!written) {
        reason = "the XML writer could not write it";
        return MS::kFailure;
    }
    return target.commit(reason) ? MS::kSuccess : MS::kFailure;
}

}  // namespace xmlexport
