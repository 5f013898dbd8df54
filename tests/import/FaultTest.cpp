// Failing host calls inside the build are logged and the import goes on;
// a lost name, value or link then fails the command with the counts:
// every single failure of each operation the build uses, one at a time.

#include "tests/import/ImportTest.h"

#include <dghost/Fault.h>

namespace {

class ImportFaultTest : public ImportTest
{
protected:
    // How many calls of `operation` creating a document node for `path`
    // makes: the build's own calls come after those. Leaves a fresh scene.
    unsigned documentCreationCalls(const std::string& path, const char* operation)
    {
        dghost::fault::clear();
        createDocumentNode(path.c_str(), "probe");
        const unsigned calls = dghost::fault::calls(operation);
        dghost::newScene();
        takeOutput();
        return calls;
    }
};

TEST_F(ImportFaultTest, EveryFailingStepIsLoggedAndTheImportGoesOn)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\">t<c><d/></c></r>");
    std::string logs;
    unsigned incomplete = 0;
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
            logs += takeOutput();
            // A lost name, value or link fails the command (with the
            // counts); any other failure is logged and the import succeeds.
            if (outcome.status == MS::kFailure)
            {
                ASSERT_EQ(outcome.errors.size(), 1u) << operation << " " << nth;
                EXPECT_TRUE(contains(outcome.errors[0], "imported incompletely: "))
                    << outcome.errors[0];
                EXPECT_EQ(outcome.text, "") << operation << " " << nth;
                ++incomplete;
                continue;
            }
            EXPECT_EQ(outcome.status, MS::kSuccess) << operation << " " << nth;
            EXPECT_EQ(outcome.text, "Read Succesfull") << operation << " " << nth;
        }
    }
    dghost::fault::clear();
    // Every write of a name or value (one element name and value each
    // for r, c, d; the attribute's name and value) fails the import.
    EXPECT_GE(incomplete, 8u);
    for (const char* line : {"\nError Set XML Name(", "\nError Set XML Value(",
                             "\nError Adding Child to Document Node(kFailure): ",
                             "\nError Adding Child to XML Node(kFailure): "})
        EXPECT_NE(logs.find(line), std::string::npos) << line;
}

TEST_F(ImportFaultTest, FailedRootLinkStillBuildsTheRestButFails)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\">t<c/></r>");
    // The modifier runs the document's creation may need come first.
    const unsigned creationRuns = documentCreationCalls(path, "doIt");

    dghost::fault::clear();
    dghost::fault::failCall("doIt", creationRuns + 1);
    // The tree stays, but a structure the scene does not hold is no success.
    const auto outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.text, "");
    EXPECT_EQ(outcome.errors, (Names{"XML file \"" + path + "\" imported incompletely: 1 link between "
                                     "nodes was not made (see the error lines)"}));
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

TEST_F(ImportFaultTest, LostLinksAreCountedBesideLostValues)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\"><c/><d/></r>");
    const unsigned creationWrites = documentCreationCalls(path, "setValue");

    // Links in order: r to the document, a to r, c to r, d to r.
    dghost::fault::clear();
    dghost::fault::failCall("connect", 2, MS::kFailure, 2);
    auto outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.text, "");
    EXPECT_EQ(outcome.errors, (Names{"XML file \"" + path + "\" imported incompletely: 2 links between "
                                     "nodes were not made (see the error lines)"}));
    const std::string output = takeOutput();
    EXPECT_TRUE(contains(output, "\nError connecting Attribute(kFailure): ")) << output;
    EXPECT_TRUE(contains(output, "\nError Connect Nodes(kFailure): ")) << output;
    dghost::fault::clear();
    // What could be linked stays; nothing is taken away.
    EXPECT_EQ(tree("doc"), "r\"\"(d\"\")");
    EXPECT_EQ(sceneNodes(), (Names{"doc", "r", "a", "c", "d"}));

    // Both kinds of loss in one message: r's name and its document link.
    dghost::newScene();
    takeOutput();
    dghost::fault::clear();
    dghost::fault::failCall("setValue", creationWrites + 1);
    dghost::fault::failCall("connect", 1);
    outcome = load(path, "-n doc");
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.errors, (Names{"XML file \"" + path + "\" imported incompletely: 1 name or value "
                                     "was not written into the scene and 1 link between nodes was not "
                                     "made (see the error lines)"}));
    dghost::fault::clear();
    takeOutput();
}

// A write refused with kNotFound writes no error line (that status is not
// logged as a failure), yet the value is not in the scene: still a loss.
TEST_F(ImportFaultTest, AnAttributeValueRefusedAsNotFoundIsALoss)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\"/>");
    const unsigned creationWrites = documentCreationCalls(path, "setValue");

    // Writes after the document's: r's name, then a's name and value.
    dghost::fault::clear();
    dghost::fault::failCall("setValue", creationWrites + 3, MS::kNotFound);
    const auto outcome = load(path, "-n doc");
    dghost::fault::clear();
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.errors, (Names{"XML file \"" + path + "\" imported incompletely: 1 name or "
                                     "value was not written into the scene (see the error lines)"}));
    takeOutput();
    EXPECT_EQ(attr("a.Name"), "a");
    EXPECT_EQ(attr("a.Value"), "");
}

TEST_F(ImportFaultTest, ValueIsWrittenAfterAttributesAndBeforeChildren)
{
    const std::string path = writeFile("f.xml", "<r a=\"1\">t<c>x</c></r>");
    const unsigned creationWrites = documentCreationCalls(path, "setValue");

    // Writes after the document's: r's name, a's name and value, r's value.
    dghost::fault::clear();
    dghost::fault::failCall("setValue", creationWrites + 4);
    const auto outcome = load(path, "-n doc");
    // The tree stays, but a lost value is no success.
    EXPECT_EQ(outcome.status, MS::kFailure);
    EXPECT_EQ(outcome.text, "");
    EXPECT_EQ(outcome.errors, (Names{"XML file \"" + path + "\" imported incompletely: 1 name or "
                                     "value was not written into the scene (see the error lines)"}));
    EXPECT_TRUE(contains(takeOutput(), "\nError Set XML Value(kFailure): "));
    dghost::fault::clear();
    EXPECT_EQ(attr("r.XmlValue"), "");
    EXPECT_EQ(attr("a.Name"), "a");
    EXPECT_EQ(attr("a.Value"), "1");
    EXPECT_EQ(attr("c.XmlName"), "c");
    EXPECT_EQ(attr("c.XmlValue"), "x");
}

}  // namespace
