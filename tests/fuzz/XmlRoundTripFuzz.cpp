// Fuzz target: arbitrary bytes as an XML file for XmlLoadFile. When a tree
// was built, XmlSaveFile writes it out and XmlLoadFile reads that file back;
// the second tree must equal the first: every element with its tag, its
// attributes and, for leaves, its text, in child order.

#include "tests/fuzz/FuzzHost.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Lookup.h"

#include <dghost/Fault.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// One element as the export sees it.
struct Element {
    std::string name;
    std::string value;                           // compared for leaves only
    std::map<std::string, std::string> attributes;  // a repeated name keeps the later value
    std::vector<Element> children;
};

std::string text(const MString& s) { return std::string(s.asChar(), s.length()); }

Element readElement(const MObject& node)
{
    Element element;
    MString name, value;
    getElementName(node, name);
    getElementValue(node, value);
    element.name = text(name);
    element.value = text(value);
    MObjectArray attributes, children;
    getAttributeNodes(node, attributes);
    for (unsigned i = 0; i < attributes.length(); ++i) {
        MString attributeName, attributeValue;
        getAttributeName(attributes[i], attributeName);
        getAttributeValue(attributes[i], attributeValue);
        element.attributes[text(attributeName)] = text(attributeValue);
    }
    getChildNodes(node, children);
    for (unsigned i = 0; i < children.length(); ++i) element.children.push_back(readElement(children[i]));
    return element;
}

// The root element of the scene's `index`-th document node (in creation
// order, so that tags that clash with the document names do not matter);
// false when the import built no element under it.
bool readDocument(unsigned index, Element& root)
{
    MObjectArray documents;
    MObject top;
    if (listAllDocumentNodes(documents) != MS::kSuccess || documents.length() <= index) return false;
    if (getDocumentRootElement(documents[index], top) != MS::kSuccess) return false;
    root = readElement(top);
    return true;
}

std::string path(const std::string& at, const Element& e) { return at + "/" + e.name; }

// `again` must carry everything of `first` that is exported: tags,
// attributes, child order, and the text of leaves (the text of an element
// with children is not written).
void compareTrees(const Element& first, const Element& again, const std::string& at)
{
    if (first.name != again.name) fuzzhost::fail(at + ": tag " + first.name + " came back as " + again.name);
    if (first.attributes != again.attributes) fuzzhost::fail(path(at, first) + ": attributes differ");
    if (first.children.size() != again.children.size())
        fuzzhost::fail(path(at, first) + ": " + std::to_string(first.children.size()) + " children came back as " +
                       std::to_string(again.children.size()));
    if (first.children.empty() && first.value != again.value)
        fuzzhost::fail(path(at, first) + ": text \"" + first.value + "\" came back as \"" + again.value + "\"");
    for (std::size_t i = 0; i < first.children.size(); ++i)
        compareTrees(first.children[i], again.children[i], path(at, first));
}

void expectSuccess(const dghost::CommandOutcome& outcome, const char* what)
{
    if (outcome.status) return;
    std::string errors;
    for (const std::string& e : outcome.errors) errors += " " + e;
    fuzzhost::fail(std::string(what) + " failed:" + errors);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzhost::start();
    dghost::fault::clear();
    dghost::newScene();
    const std::string input = fuzzhost::workPath("input.xml"), output = fuzzhost::workPath("output.xml");
    fuzzhost::writeBytes(input, data, size);
    fuzzhost::run("XmlLoadFile", {"-f", input, "-n", "first"});
    Element first, again;
    if (readDocument(0, first)) {
        expectSuccess(fuzzhost::run("XmlSaveFile", {"-n", "first", "-f", output}), "XmlSaveFile");
        expectSuccess(fuzzhost::run("XmlLoadFile", {"-f", output, "-n", "again"}), "XmlLoadFile of the export");
        if (!readDocument(1, again)) fuzzhost::fail("the exported file gave no tree");
        compareTrees(first, again, "");
    }
    dghost::newScene();
    return 0;
}
