#include "export/NodeTreeSerializer.h"

#include "export/XmlFileWriter.h"
#include "export/XmlNames.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "log/Log.h"
#include "tree/Lookup.h"
#include "xml/Utf8.h"
#include "xml/XmlErrors.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MObjectArray.h>
#include <maya/MPlug.h>
#include <maya/MPxCommand.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <deque>
#include <string>
#include <vector>

XERCES_CPP_NAMESPACE_USE
using xmlexport::TargetRule;
using xmlexport::writeXmlFile;

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
    DomTreeBuilder() : fDocument(nullptr) {}

    MStatus build(DOMDocument* document, MObject root, std::string& reason);

    // The element node being exported, named when the library throws.
    const MObject& currentNode() const { return fCurrent; }
    // Elements whose own text beside their child elements is not written,
    // and the first of them.
    unsigned mixedContentCount() const { return fMixedCount; }
    const MObject& firstMixedContent() const { return fFirstMixed; }

private:
    // An element with children: how much non-blank text it holds, and how
    // much its children hold. More of its own means text beside children.
    struct TextBalance {
        MObject node;
        std::size_t own = 0;
        std::size_t children = 0;
    };

    struct Pending {
        MObject node;
        DOMNode* parent;
        unsigned depth;       // the root is at depth 1
        std::size_t balance;  // the parent's TextBalance, or kNoBalance
    };
    static const std::size_t kNoBalance = ~std::size_t(0);

    // What the scene holds for one element. One is reused for every
    // element, so its strings and arrays keep their buffers.
    struct ElementContent {
        MString name;
        MString value;
        MObjectArray children;
        MObjectArray attributes;

        void clear()
        {
            name.clear();
            value.clear();
            children.clear();
            attributes.clear();
        }
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
    // Logs a failed read of a name or value and counts it as lost; true
    // when it failed.
    bool readFailed(const char* what, const MStatus& status);
    void countMixedContent();
    // The library checks DOM names by the XML 1.0 rules of its time, which
    // know no character beyond U+FFFF; XML 1.1's name rules are those of
    // XML 1.0 fifth edition. Switched on only for such a name, since it
    // also changes how the writer checks characters. No declaration is
    // written, so the file stays XML 1.0.
    void useNameRulesFor(const std::u16string& name);

    DOMDocument* fDocument;
    MObject fRoot;
    // A deque: handles have no moves, so a vector that grew would copy
    // (and count anew) every pending element, a million below a wide root.
    std::deque<Pending> fPending;
    std::vector<TextBalance> fBalances;
    MObject fCurrent;
    unsigned fLostValues = 0;
    unsigned fMixedCount = 0;
    MObject fFirstMixed;
    bool fFifthEditionNames = false;
    ElementContent fContent;
    // UTF-16 forms of names and of values and texts, reused (each is in
    // the document before the next is made).
    std::u16string fTag;
    std::u16string fText;
};

// Characters other than XML white space, counted in UTF-8 bytes.
std::size_t nonBlankSize(const MString& text)
{
    int length = 0;
    const char* bytes = text.asUTF8(length);
    std::size_t count = 0;
    for (int i = 0; i < length; ++i)
        count += bytes[i] != ' ' && bytes[i] != '\t' && bytes[i] != '\n' && bytes[i] != '\r';
    return count;
}

std::string lostValuesText(unsigned lost)
{
    return std::to_string(lost) + (lost == 1 ? " name or value" : " names or values") +
           " could not be read from the scene (see the error lines)";
}

MStatus DomTreeBuilder::build(DOMDocument* document, MObject root, std::string& reason)
{
    fDocument = document;
    fRoot = root;
    fPending.assign(1, Pending{root, document, 1, kNoBalance});
    while (!fPending.empty()) {
        Pending item = fPending.back();
        fPending.pop_back();
        MStatus status = exportElement(item, reason);
        if (!status)
            return status;
    }
    if (fLostValues > 0)
        return refuse(reason, lostValuesText(fLostValues));
    countMixedContent();
    return MS::kSuccess;
}

bool DomTreeBuilder::readFailed(const char* what, const MStatus& status)
{
    if (!logError(what, status))
        return false;
    ++fLostValues;
    return true;
}

void DomTreeBuilder::useNameRulesFor(const std::u16string& name)
{
    if (fFifthEditionNames)
        return;
    for (char16_t unit : name) {
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            fDocument->setXmlVersion(u"1.1");
            fFifthEditionNames = true;
            return;
        }
    }
}

void DomTreeBuilder::countMixedContent()
{
    for (const TextBalance& balance : fBalances) {
        if (balance.own <= balance.children)
            continue;
        if (fMixedCount++ == 0)
            fFirstMixed = balance.node;
    }
}

// Reads everything of the element first, so that an unreadable element
// fails before any of it is built.
MStatus DomTreeBuilder::exportElement(const Pending& item, std::string& reason)
{
    fCurrent = item.node;
    const bool isRoot = item.depth == 1;
    ElementContent& content = fContent;
    content.clear();
    MStatus nameStatus = getElementName(item.node, content.name);
    if (isRoot)
        logError("Error Getting Name of XML Node", nameStatus);
    MStatus valueStatus = getElementValue(item.node, content.value);
    readFailed("Error Getting Value of XML Node", valueStatus);
    if (item.balance != kNoBalance)
        fBalances[item.balance].children += nonBlankSize(content.value);
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
    std::u16string& tag = fTag;
    fromHost(content.name, tag);
    if (!isXmlName(tag))
        return refuse(reason, describe(item.node) + " has the name " + quoted(content.name) +
                                  ", which is not an XML name");
    useNameRulesFor(tag);
    DOMElement* element = fDocument->createElement(tag.c_str());
    item.parent->appendChild(element);
    for (unsigned i = 0; i < content.attributes.length(); ++i) {
        MStatus status = exportAttribute(element, content.attributes[i], reason);
        if (!status)
            return status;
    }
    if (content.children.length() > 0) {
        fBalances.push_back(TextBalance{item.node, nonBlankSize(content.value), 0});
        return queueChildren(element, item, content.children, reason);
    }
    return exportText(element, item, content.value, reason);
}

// Two attribute nodes with one name give one attribute: the later value.
MStatus DomTreeBuilder::exportAttribute(DOMElement* element, MObject attribute,
                                        std::string& reason)
{
    // A name or value that cannot be read is counted; the node then fails
    // once the whole tree has been read.
    const AttributeText read = readAttributeText(attribute);
    if (readFailed("Error Getting Name of XML Attribute", read.nameStatus) ||
        readFailed("Error Getting Value of XML Attribute", read.valueStatus))
        return MS::kSuccess;
    const MString& name = read.name;
    const MString& value = read.value;
    std::u16string& xmlName = fTag;
    std::u16string& xmlValue = fText;
    fromHost(name, xmlName);
    fromHost(value, xmlValue);
    unsigned codePoint = 0;
    if (!isXmlName(xmlName))
        return refuse(reason, describe(fCurrent) + ": its attribute node " + hostName(attribute) +
                                  " has the name " + quoted(name) + ", which is not an XML name");
    if (findForbiddenCharacter(xmlValue, codePoint))
        return refuse(reason, describe(fCurrent) + ": the value of its attribute " + quoted(name) +
                                  " holds " + codePointName(codePoint) +
                                  ", a character XML cannot carry");
    useNameRulesFor(xmlName);
    element->setAttribute(xmlName.c_str(), xmlValue.c_str());
    return MS::kSuccess;
}

// Pushed last child first, so the first child is built next.
MStatus DomTreeBuilder::queueChildren(DOMElement* element, const Pending& item,
                                      const MObjectArray& children, std::string& reason)
{
    if (item.depth >= kMaxExportDepth) {
        // A loop of links also looks endlessly deep: name it as what it is.
        MString loop;
        if (checkNoLoopBelow(fRoot, loop) != MS::kSuccess)
            return refuse(reason, loop.asChar());
        return refuse(reason, "the tree is deeper than " + std::to_string(kMaxExportDepth) +
                                  " levels (below " + describe(item.node) + ")");
    }
    const std::size_t balance = fBalances.size() - 1;
    for (unsigned i = children.length(); i-- > 0;)
        fPending.push_back(Pending{children[i], element, item.depth + 1, balance});
    return MS::kSuccess;
}

MStatus DomTreeBuilder::exportText(DOMElement* element, const Pending& item,
                                   const MString& value, std::string& reason)
{
    if (value.length() == 0)
        return MS::kSuccess;
    logLine("Export Value");
    logLine(value);
    std::u16string& text = fText;
    fromHost(value, text);
    unsigned codePoint = 0;
    if (findForbiddenCharacter(text, codePoint))
        return refuse(reason, describe(item.node) + ": its value holds " +
                                  codePointName(codePoint) + ", a character XML cannot carry");
    element->appendChild(fDocument->createTextNode(text.c_str()));
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

// Text beside child elements cannot be written back (each element keeps
// the text of its whole subtree): said once per exported node.
void warnOfDroppedText(const MObject& node, const DomTreeBuilder& builder)
{
    const unsigned count = builder.mixedContentCount();
    if (count == 0)
        return;
    MString firstName;
    getElementName(builder.firstMixedContent(), firstName);
    std::string text = "Exported " + hostName(node) + " without the text beside child elements: " +
                       std::to_string(count) + (count == 1 ? " element" : " elements") +
                       " lost such text, the first is " + quoted(firstName) + " (node " +
                       hostName(builder.firstMixedContent()) + ")";
    MGlobal::displayWarning(MString(text.c_str()));
}

MStatus buildAndWrite(MObject node, MObject root, const MString& fileName, TargetRule rule,
                      std::string& reason)
{
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(u"Core");
    if (!implementation)
        return refuse(reason, "the XML library has no DOM implementation");
    DocumentHolder holder;
    DomTreeBuilder builder;
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
    status = writeXmlFile(holder.document, fileName.asChar(), rule, reason);
    if (status)
        warnOfDroppedText(node, builder);
    return status;
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
    // A path the scene chose is written only onto a regular or new file.
    const TargetRule rule = fileName.length() == 0 ? TargetRule::RegularOnly : TargetRule::AnyFile;
    MStatus status = resolveRootSource(node, root, fileName, reason);
    if (status)
        status = buildAndWrite(node, root, fileName, rule, reason);
    if (!status)
        MPxCommand::displayError(failureMessage(node, fileName, reason));
    return status;
}
