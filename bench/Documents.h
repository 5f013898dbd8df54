#ifndef DENDRINE_BENCH_DOCUMENTS_H
#define DENDRINE_BENCH_DOCUMENTS_H
// The benchmark's documents: five deterministic shapes at any element
// count, held as a flat pre-order list so that the same tree can be
// written as a file and built again as a plain DOM.

#include <string>
#include <vector>

namespace bench {

enum class Shape { Flat, Deep, Text, Attributes, SoftwareList };

struct ShapeInfo {
    Shape shape;
    const char* name;         // on the command line, in the table and the JSON
    const char* description;
};

// Every shape, in table order.
const std::vector<ShapeInfo>& allShapes();
// Null when the name is no shape.
const ShapeInfo* findShape(const std::string& name);

struct ModelAttribute {
    std::string name;
    std::string value;
};

struct ModelElement {
    long parent = -1;   // index of the parent in the list; -1 for the root
    unsigned depth = 0; // 0 for the root
    std::string tag;
    std::vector<ModelAttribute> attributes;
    std::string text;   // only leaves carry text
};

// What the benchmark searches for in a shape: a tag most elements carry
// and the text of one element.
struct SearchTerms {
    std::string tag;
    std::string value;
};

// The elements of `shape` in document order (pre-order), exactly `count`
// of them (at least 1).
std::vector<ModelElement> buildModel(Shape shape, unsigned long count);
SearchTerms searchTermsOf(Shape shape, unsigned long count);
// The XPath paths of the two searches: every element with the tag, and
// every element whose string value is the text.
std::string tagPath(const SearchTerms& terms);
std::string valuePath(const SearchTerms& terms);
unsigned long attributeCount(const std::vector<ModelElement>& model);

// Writes the model as an XML file; the flat, text, attribute and software
// list shapes are indented one record per line, the deep shape has no
// whitespace between tags (so an element's text is not its depth's
// indentation). The software list names an external DTD in its DOCTYPE,
// as real ones do.
// Returns the number of bytes written, 0 on failure.
unsigned long long writeXmlFile(const std::vector<ModelElement>& model, Shape shape,
                                const std::string& path);

}  // namespace bench

#endif
