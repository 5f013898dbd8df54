// Failing host calls inside the build are logged and the import goes on:
// every single failure of each operation the build uses, one at a time.

#include "tests/import/ImportTest.h"

#include <dghost/Fault.h>

namespace {

using ImportFaultTest = ImportTest;

TEST_F(ImportFaultTest, EveryFailingStepIsLoggedAndTheImportGoesOn)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\">t<c><d/></c></r>");
    std::string logs;
    for (const char* operation : {"attachFunctionSet", "typeId", "findPlug", "setValue",
                                  "createNode", "numElements", "elementByLogicalIndex",
                                  "connect", "doIt"})
    {
        dghost::fault::clear();
        dghost::newScene();
        load(path, "-n doc");
        const unsigned calls = dghost::fault::calls(operation);
        for (unsigned nth = 1; nth <= calls; ++nth)
        {
            dghost::newScene();
            takeOutput();
            dghost::fault::clear();
            ASSERT_TRUE(dghost::fault::failCall(operation, nth)) << operation;
            const auto outcome = load(path, "-n doc");
            EXPECT_EQ(outcome.status, MS::kSuccess) << operation << " " << nth;
            EXPECT_EQ(outcome.text, "Read Succesfull") << operation << " " << nth;
            logs += takeOutput();
        }
    }
    dghost::fault::clear();
    for (const char* line : {"\nError Set XML Name(", "\nError Set XML Value(",
                             "\nError Adding Child to Document Node(kFailure): ",
                             "\nError Adding Child to XML Node(kFailure): "})
        EXPECT_NE(logs.find(line), std::string::npos) << line;
}

TEST_F(ImportFaultTest, FailedRootLinkStillBuildsTheRest)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\">t<c/></r>");
    // The modifier runs the document's creation may need come first.
    dghost::fault::clear();
    createDocumentNode(path.c_str(), "probe");
    const unsigned creationRuns = dghost::fault::calls("doIt");
    dghost::newScene();
    takeOutput();

    dghost::fault::clear();
    dghost::fault::failCall("doIt", creationRuns + 1);
    EXPECT_EQ(load(path, "-n doc").text, "Read Succesfull");
    const std::string output = takeOutput();
    EXPECT_NE(output.find("\nError Adding Child to Document Node(kFailure): "
                          "Unexpected Internal Failure\n"),
              std::string::npos)
        << output;
    dghost::fault::clear();
    // The root is unlinked; its attribute, value and child are all there.
    MObjectArray roots;
    getDocumentElements(node("doc"), roots);
    EXPECT_EQ(roots.length(), 0u);
    EXPECT_EQ(sceneNodes(), (Names{"doc", "r", "a", "c"}));
    EXPECT_EQ(attr("r.XmlValue"), "t");
    EXPECT_EQ(attr("a.Value"), "1");
    MObjectArray children;
    getChildNodes(node("r"), children);
    takeOutput();
    ASSERT_EQ(children.length(), 1u);
    EXPECT_EQ(nameOf(children[0]), "c");
}

TEST_F(ImportFaultTest, ValueIsWrittenAfterAttributesAndBeforeChildren)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\">t<c>x</c></r>");
    dghost::fault::clear();
    createDocumentNode(path.c_str(), "probe");
    const unsigned creationWrites = dghost::fault::calls("setValue");
    dghost::newScene();
    takeOutput();

    // Writes after the document's: r's name, a's name and value, r's value.
    dghost::fault::clear();
    dghost::fault::failCall("setValue", creationWrites + 4);
    EXPECT_EQ(load(path, "-n doc").text, "Read Succesfull");
    dghost::fault::clear();
    EXPECT_EQ(attr("r.XmlValue"), "");
    EXPECT_EQ(attr("a.Name"), "a");
    EXPECT_EQ(attr("a.Value"), "1");
    EXPECT_EQ(attr("c.XmlName"), "c");
    EXPECT_EQ(attr("c.XmlValue"), "x");
}

}  // namespace
