#include "export/NodeTreeSerializer.h"

#include "export/XmlErrors.h"
#include "export/XmlFileWriter.h"
#include "export/XmlText.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "log/Log.h"
#include "tree/Lookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MObjectArray.h>
#include <maya/MPxCommand.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <string>
#include <vector>

XERCES_CPP_NAMESPACE_USE
using namespace xmlexport;

const unsigned kMaxExportDepth = 10000;

namespace {

std::string hostName(const MObject& node)
{
    MStatus status;
    MFnDependencyNode fn(node, &status);
    MString name = status ? fn.name(&status) : MString();
    return status ? std::string(name.asChar()) : std::string("(unnamed node)");
}

std::string describe(const MObject& node)
{
    return "element node " + hostName(node);
}

std::string quoted(const MString& text)
{
    return "\"" + std::string(text.asChar()) + "\"";
}

MStatus refuse(std::string& reason, const std::string& text)
{
    reason = text;
    return MS::kFailure;
}

// Builds the DOM elements of one scene tree. The walk keeps its own stack
// instead of recursing, so the depth of the tree never touches the C++
// stack; elements are appended in pre-order, each to its parent before its
// own attributes and children, so siblings keep their scene order.
class DomTreeBuilder
{
public:
    explicit DomTreeBuilder(const Utf8Transcoder& utf8) : fUtf8(utf8), fDocument(nullptr) {}

    MStatus build(DOMDocument* document, MObject root, std::string& reason);

    // The element node being exported, named when the library throws.
    const MObject& currentNode() const { return fCurrent; }

private:
    struct Pending {
        MObject node;
        DOMNode* parent;
        unsigned depth;  // the root is at depth 1
    };

    // What the scene holds for one element.
    struct ElementContent {
        MString name;
        MString value;
        MObjectArray children;
        MObjectArray attributes;
    };

    MStatus exportElement(const Pending& item, std::string& reason);
    MStatus buildElement(const Pending& item, const ElementContent& content, std::string& reason);
    MStatus exportAttribute(DOMElement* element, MObject attribute, std::string& reason);
    MStatus queueChildren(DOMElement* element, const Pending& item, const MObjectArray& children,
                          std::string& reason);
    // The text of a leaf. The text of an element with child elements is the
    // text of its whole subtree (as imported) and is not written.
    MStatus exportText(DOMElement* element, const Pending& item, const MString& value,
                       std::string& reason);
    MStatus unreadable(const Pending& item, const MStatus& status, std::string& reason);

    const Utf8Transcoder& fUtf8;
    DOMDocument* fDocument;
    std::vector<Pending> fPending;
    MObject fCurrent;
};

MStatus DomTreeBuilder::build(DOMDocument* document, MObject root, std::string& reason)
{
    fDocument = document;
    fPending.assign(1, Pending{root, document, 1});
    while (!fPending.empty()) {
        Pending item = fPending.back();
        fPending.pop_back();
        MStatus status = exportElement(item, reason);
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

// Reads everything of the element first, so that an unreadable element
// fails before any of it is built.
MStatus DomTreeBuilder::exportElement(const Pending& item, std::string& reason)
{
    fCurrent = item.node;
    const bool isRoot = item.depth == 1;
    ElementContent content;
    MStatus nameStatus = getElementName(item.node, content.name);
    if (isRoot)
        logError("Error Getting Name of XML Node", nameStatus);
    getElementValue(item.node, content.value);
    MStatus childStatus = getChildNodes(item.node, content.children);
    if (isRoot)
        logError("Error Getting Children of XML Node", childStatus);
    MStatus attributeStatus = getAttributeNodes(item.node, content.attributes);
    for (const MStatus* status : {&nameStatus, &childStatus, &attributeStatus}) {
        if (failed(*status))
            return unreadable(item, *status, reason);
    }
    return buildElement(item, content, reason);
}

MStatus DomTreeBuilder::buildElement(const Pending& item, const ElementContent& content,
                                     std::string& reason)
{
    HostText tag(content.name, fUtf8);
    if (!isXmlName(tag))
        return refuse(reason, describe(item.node) + " has the name " + quoted(content.name) +
                                  ", which is not an XML name");
    DOMElement* element = fDocument->createElement(tag.str());
    item.parent->appendChild(element);
    for (unsigned i = 0; i < content.attributes.length(); ++i) {
        MStatus status = exportAttribute(element, content.attributes[i], reason);
        if (!status)
            return status;
    }
    if (content.children.length() > 0)
        return queueChildren(element, item, content.children, reason);
    return exportText(element, item, content.value, reason);
}

// Two attribute nodes with one name give one attribute: the later value.
MStatus DomTreeBuilder::exportAttribute(DOMElement* element, MObject attribute,
                                        std::string& reason)
{
    MString name;
    MString value;
    getAttributeName(attribute, name);
    getAttributeValue(attribute, value);
    HostText xmlName(name, fUtf8);
    HostText xmlValue(value, fUtf8);
    unsigned codePoint = 0;
    if (!isXmlName(xmlName))
        return refuse(reason, describe(fCurrent) + ": its attribute node " + hostName(attribute) +
                                  " has the name " + quoted(name) + ", which is not an XML name");
    if (findForbiddenCharacter(xmlValue, codePoint))
        return refuse(reason, describe(fCurrent) + ": the value of its attribute " + quoted(name) +
                                  " holds " + codePointName(codePoint) +
                                  ", a character XML cannot carry");
    element->setAttribute(xmlName.str(), xmlValue.str());
    return MS::kSuccess;
}

// Pushed last child first, so the first child is built next.
MStatus DomTreeBuilder::queueChildren(DOMElement* element, const Pending& item,
                                      const MObjectArray& children, std::string& reason)
{
    if (item.depth >= kMaxExportDepth)
        return refuse(reason, "the tree is deeper than " + std::to_string(kMaxExportDepth) +
                                  " levels (below " + describe(item.node) + ")");
    for (unsigned i = children.length(); i-- > 0;)
        fPending.push_back(Pending{children[i], element, item.depth + 1});
    return MS::kSuccess;
}

MStatus DomTreeBuilder::exportText(DOMElement* element, const Pending& item,
                                   const MString& value, std::string& reason)
{
    if (value.length() == 0)
        return MS::kSuccess;
    logLine("Export Value");
    logLine(value);
    HostText text(value, fUtf8);
    unsigned codePoint = 0;
    if (findForbiddenCharacter(text, codePoint))
        return refuse(reason, describe(item.node) + ": its value holds " +
                                  codePointName(codePoint) + ", a character XML cannot carry");
    element->appendChild(fDocument->createTextNode(text.str()));
    return MS::kSuccess;
}

MStatus DomTreeBuilder::unreadable(const Pending& item, const MStatus& status,
                                   std::string& reason)
{
    MPxCommand::displayError("Error Parsing XML Node Tree");
    if (item.depth == 2)
        logError("Error Exporting Nodes to XML", status);
    else if (item.depth > 2)
        logError("Error Parsing XML Node Tree", status);
    return refuse(reason, describe(item.node) + " cannot be read: " +
                              std::string(status.errorString().asChar()));
}

std::string topElementProblem(MObject document)
{
    MObjectArray elements;
    getDocumentElements(document, elements);
    if (elements.length() == 0)
        return "the document has no top element";
    if (elements.length() == 1)
        return "its top element cannot be read";
    return "the document has " + std::to_string(elements.length()) +
           " top elements; an XML document has exactly one";
}

// The element that becomes the file's root element, and the file name.
MStatus resolveRootSource(MObject node, MObject& root, MString& fileName, std::string& reason)
{
    if (isElementNode(node)) {
        root = node;
    } else if (isDocumentNode(node)) {
        MStatus status = getDocumentRootElement(node, root);
        logError("Error Getting First Doc Node", status);
        if (fileName.length() == 0)
            getDocumentName(node, fileName);
        if (failed(status))
            return refuse(reason, topElementProblem(node));
    } else {
        return refuse(reason, "it is neither an XmlDocument nor an XmlElement node");
    }
    if (fileName.length() == 0)
        return refuse(reason, "there is no file name (the document has no document name)");
    return MS::kSuccess;
}

// Owns the DOM document of one export; released before the library ends.
struct DocumentHolder
{
    DOMDocument* document = nullptr;
    ~DocumentHolder()
    {
        if (document)
            document->release();
    }
};

MStatus buildAndWrite(MObject root, const MString& fileName, std::string& reason)
{
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(u"Core");
    if (!implementation)
        return refuse(reason, "the XML library has no DOM implementation");
    Utf8Transcoder utf8;
    if (!utf8.ready())
        return refuse(reason, "the XML library has no UTF-8 transcoder");
    DocumentHolder holder;
    DomTreeBuilder builder(utf8);
    MStatus status = MS::kFailure;
    std::string libraryReason;
    bool ran = runCatchingXmlErrors(
        [&] {
            holder.document = implementation->createDocument(XMLPlatformUtils::fgMemoryManager);
            status = builder.build(holder.document, root, reason);
        },
        libraryReason);
    if (!ran)
        return refuse(reason, describe(builder.currentNode()) + ": " + libraryReason);
    if (!status)
        return status;
    return writeXmlFile(holder.document, fileName.asChar(), reason);
}

MString failureMessage(MObject node, const MString& fileName, const std::string& reason)
{
    std::string text = "Cannot export " + hostName(node);
    if (fileName.length() > 0)
        text += " to " + std::string(fileName.asChar());
    text += ": " + reason;
    return MString(text.c_str());
}

}  // namespace

MStatus exportNodeToFile(MObject node, MString fileName)
{
    MObject root;
    std::string reason;
    MStatus status = resolveRootSource(node, root, fileName, reason);
    if (status)
        status = buildAndWrite(root, fileName, reason);
    if (!status)
        MPxCommand::displayError(failureMessage(node, fileName, reason));
    return status;
}
