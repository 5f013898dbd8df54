#ifndef DENDRINE_TESTS_IMPORT_IMPORT_TEST_H
#define DENDRINE_TESTS_IMPORT_IMPORT_TEST_H
// Fixture of the import tests: loads files the tests write, captures the
// parser reports on standard error, and describes imported trees compactly.

#include "tests/support/SceneTest.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using Names = std::vector<std::string>;

class ImportTest : public SceneTest
{
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        fSavedCerr = std::cerr.rdbuf(fReports.rdbuf());
    }

    void TearDown() override
    {
        std::cerr.rdbuf(fSavedCerr);
        SceneTest::TearDown();
    }

    // Parser reports written to standard error since the last call.
    std::string takeReports()
    {
        std::string text = fReports.str();
        fReports.str(std::string());
        return text;
    }

    dghost::CommandOutcome load(const std::string& path, const std::string& flags = "")
    {
        return run("XmlLoadFile -f \"" + path + "\"" + (flags.empty() ? "" : " " + flags));
    }

    // Lets this process use only `headroom` more bytes of address space
    // than it uses now (for death tests: the limit stays).
    static void limitMemoryTo(unsigned long headroom)
    {
        std::ifstream statm("/proc/self/statm");
        unsigned long pages = 0;
        statm >> pages;
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = pages * static_cast<unsigned long>(sysconf(_SC_PAGESIZE)) + headroom;
        setrlimit(RLIMIT_AS, &limit);
    }

    // Every node of the scene in creation order.
    Names sceneNodes()
    {
        return run("ls -dep").strings;
    }

    // The string value of NODE.ATTR, read by the host's getAttr.
    std::string attr(const std::string& nodeDotAttr)
    {
        return run("getAttr " + nodeDotAttr).text;
    }

    // The tree under a document as tag[attr=value ...]"text"(children ...),
    // roots separated by blanks; XML names, values and link order only.
    std::string tree(const std::string& documentNode)
    {
        MObjectArray roots;
        getDocumentElements(node(documentNode), roots);
        std::string out;
        for (unsigned i = 0; i < roots.length(); ++i)
            out += (i ? " " : "") + describe(roots[i]);
        takeOutput();
        return out;
    }

    static std::string utf8(const MString& text)
    {
        return text.asUTF8();
    }

    static std::string nameOf(const MObject& node)
    {
        MFnDependencyNode fn(node);
        return utf8(fn.name());
    }

private:
    static std::string describe(const MObject& element)
    {
        MString name;
        MString value;
        getElementName(element, name);
        getElementValue(element, value);
        std::string out = utf8(name);
        MObjectArray attributes;
        getAttributeNodes(element, attributes);
        for (unsigned i = 0; i < attributes.length(); ++i)
        {
            MString attributeName;
            MString attributeValue;
            getAttributeName(attributes[i], attributeName);
            getAttributeValue(attributes[i], attributeValue);
            out += (i ? " " : "[") + utf8(attributeName) + "=" + utf8(attributeValue);
        }
        out += attributes.length() ? "]" : "";
        out += "\"" + utf8(value) + "\"";
        MObjectArray children;
        getChildNodes(element, children);
        for (unsigned i = 0; i < children.length(); ++i)
            out += (i ? " " : "(") + describe(children[i]);
        out += children.length() ? ")" : "";
        return out;
    }

    std::stringstream fReports;
    std::streambuf* fSavedCerr = nullptr;
};

#endif
