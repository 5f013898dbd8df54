#include "bench/Floors.h"

#include "import/ImportErrorHandler.h"
#include "import/ImportParser.h"
#include "import/SourceFile.h"
#include "xml/Utf8.h"
#include "xml/XmlSession.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/LocalFileFormatTarget.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLUni.hpp>

#ifdef DENDRINE_BENCH_PUGIXML
#include <pugixml.hpp>
#endif

#include <memory>

XERCES_CPP_NAMESPACE_USE

namespace bench {

bool xercesParse(const std::string& path)
{
    std::string bytes;
    std::string reason;
    try {
        XmlSession session(XmlSession::Network::Off);
        if (!readFileBytes(path, bytes, reason)) return false;
        ImportErrorHandler handler;
        ImportParser parser(handler);
        const std::u16string systemId(path.begin(), path.end());
        const DOMDocument* document = parser.parse(bytes, systemId);
        return document != nullptr && handler.fatalErrorCount() == 0;
    } catch (...) {
        return false;
    }
}

namespace {

DOMDocument* buildDom(DOMImplementation* implementation, const std::vector<ModelElement>& model)
{
    DOMDocument* document = implementation->createDocument();
    std::vector<DOMElement*> elements;
    elements.reserve(model.size());
    for (const ModelElement& e : model) {
        DOMElement* element = document->createElement(fromUtf8(e.tag).c_str());
        for (const ModelAttribute& a : e.attributes) element->setAttribute(fromUtf8(a.name).c_str(), fromUtf8(a.value).c_str());
        if (!e.text.empty()) element->appendChild(document->createTextNode(fromUtf8(e.text).c_str()));
        DOMNode* parent = e.parent < 0 ? static_cast<DOMNode*>(document) : elements[static_cast<std::size_t>(e.parent)];
        parent->appendChild(element);
        elements.push_back(element);
    }
    return document;
}

bool writePretty(DOMImplementation* implementation, DOMDocument* document, const std::string& path)
{
    DOMImplementationLS* ls = static_cast<DOMImplementationLS*>(implementation);
    DOMLSSerializer* serializer = ls->createLSSerializer();
    serializer->getDomConfig()->setParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true);
    DOMLSOutput* output = ls->createLSOutput();
    output->setEncoding(u"UTF-8");
    bool written = false;
    {
        LocalFileFormatTarget target(path.c_str());
        output->setByteStream(&target);
        written = serializer->write(document->getDocumentElement(), output);
        target.flush();
    }
    output->release();
    serializer->release();
    return written;
}

}  // namespace

bool xercesBuildAndWrite(const std::vector<ModelElement>& model, const std::string& path)
{
    try {
        XmlSession session;
        if (!session.started()) return false;
        DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(u"LS");
        DOMDocument* document = buildDom(implementation, model);
        const bool written = writePretty(implementation, document, path);
        document->release();
        return written;
    } catch (...) {
        return false;
    }
}

#ifdef DENDRINE_BENCH_PUGIXML
bool havePugixml() { return true; }

bool pugixmlParse(const std::string& path)
{
    pugi::xml_document document;
    return static_cast<bool>(document.load_file(path.c_str()));
}
struct PugixmlDocument::Parsed {
    pugi::xml_document document;
    bool ok = false;
};

PugixmlDocument::PugixmlDocument(const std::string& path) : parsed_(new Parsed)
{
    parsed_->ok = static_cast<bool>(parsed_->document.load_file(path.c_str()));
}

PugixmlDocument::~PugixmlDocument() { delete parsed_; }

bool PugixmlDocument::select(const std::string& path) const
{
    if (!parsed_->ok) return false;
    try {
        return !parsed_->document.select_nodes(path.c_str()).empty();
    } catch (...) {
        return false;
    }
}
#else
bool havePugixml() { return false; }
bool pugixmlParse(const std::string&) { return false; }
struct PugixmlDocument::Parsed {};
PugixmlDocument::PugixmlDocument(const std::string&) : parsed_(nullptr) {}
PugixmlDocument::~PugixmlDocument() = default;
bool PugixmlDocument::select(const std::string&) const { return false; }
#endif

}  // namespace bench
