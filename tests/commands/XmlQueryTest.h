#ifndef DENDRINE_TESTS_COMMANDS_XML_QUERY_TEST_H
#define DENDRINE_TESTS_COMMANDS_XML_QUERY_TEST_H
// Scenes for the XmlQuery tests: documents imported from XML text, and the
// place in the tree of every element and attribute node, read with the
// node-tree library ("/1/2": second element below the first top element;
// "/1/2/@id": its attribute id).

#include "CommandTest.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MObjectArray.h>

#include <map>

class XmlQueryTest : public CommandTest
{
protected:
    using Places = std::map<std::string, std::string>;

    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }

    static std::string join(const Strings& parts, const std::string& separator)
    {
        std::string joined;
        for (std::size_t i = 0; i < parts.size(); ++i)
            joined += (i == 0 ? "" : separator) + parts[i];
        return joined;
    }

    // Writes `xml` to a file and imports it as document `name`; returns the path.
    std::string importXml(const std::string& name, const std::string& xml)
    {
        const std::string path = writeFile(name + ".xml", xml);
        must("XmlLoadFile -f " + quoted(path) + " -n " + name);
        takeOutput();
        return path;
    }

    // Node name -> place, for the document and everything below it.
    Places placesBelow(const std::string& document)
    {
        Places places{{document, "/"}};
        MObjectArray tops;
        getDocumentElements(node(document), tops);
        for (unsigned int i = 0; i < tops.length(); ++i)
            place(tops[i], "/" + std::to_string(i + 1), places);
        takeOutput();
        return places;
    }

private:
    static std::string nameOf(const MObject& object) { return MFnDependencyNode(object).name().asChar(); }

    void place(const MObject& element, const std::string& path, Places& places)
    {
        places[nameOf(element)] = path;
        MObjectArray attributes;
        getAttributeNodes(element, attributes);
        for (unsigned int i = 0; i < attributes.length(); ++i) {
            MString name;
            getAttributeName(attributes[i], name);
            places[nameOf(attributes[i])] = path + "/@" + name.asChar();
        }
        MObjectArray children;
        getChildNodes(element, children);
        for (unsigned int i = 0; i < children.length(); ++i)
            place(children[i], path + "/" + std::to_string(i + 1), places);
    }
};

#endif
