// What an export writes: leaves and their values, the root like every other
// element, every element once whatever its name, attributes, escaping and
// non-ASCII text, and the scene left as it was.

#include "tests/export/ExportTest.h"

namespace {

class ExportContentTest : public ExportTest
{
protected:
    // Exports node `name` to out.xml and returns the file's content.
    std::string exported(const std::string& name)
    {
        expectSucceeded(save("-node " + name + " -file " + quoted(tempPath("out.xml"))));
        return readFile(tempPath("out.xml"));
    }
};

// A leaf with the value 5, an empty leaf, an element with children and a
// value (its subtree's text, as imported, is not written), and the root with
// its attributes and, without child elements, its text.
TEST_F(ExportContentTest, LeavesValuesAndTheRoot)
{
    MObject doc = document("doc", "doc.xml");
    MObject root = element("root", "p:a", "5t");
    top(doc, root);
    attribute(root, "xmlns:p", "urn:p");
    attribute(root, "id", "7");
    child(root, element("five", "b", "5"));
    child(root, element("empty", "c", ""));
    MObject inner = element("inner", "d", "t");
    child(root, inner);
    child(inner, element("leaf", "e", "t"));
    takeOutput();
    EXPECT_EQ(exported("doc"), "\n<p:a id=\"7\" xmlns:p=\"urn:p\">\n\n  <b>5</b>\n\n  <c/>\n\n"
                               "  <d>\n    <e>t</e>\n  </d>\n\n</p:a>");
    std::string output = takeOutput();
    EXPECT_TRUE(inOrder(output, {"Export Value", "5", "Export Value", "t"}));
    Lines all = lines(output);
    EXPECT_EQ(std::count(all.begin(), all.end(), "Export Value"), 2) << output;

    MObject alone = element("alone", "r", "root text");
    attribute(alone, "k", "v");
    EXPECT_EQ(exported("alone"), "\n<r k=\"v\">root text</r>");
}

// No element is dropped or unwrapped for its name, and elements named like
// the root stay where they are: the root is written once.
TEST_F(ExportContentTest, EveryElementOnceWhateverItsName)
{
    MObject doc = document("doc", "doc.xml");
    MObject root = element("root", "link");
    top(doc, root);
    MObject person = element("person", "person");
    child(root, person);
    child(person, element("name", "name", "Ann"));
    MObject link = element("link", "link");
    child(root, link);
    child(link, element("deeper", "link", "#x"));
    EXPECT_EQ(exported("doc"), "\n<link>\n\n  <person>\n    <name>Ann</name>\n  </person>\n\n"
                               "  <link>\n    <link>#x</link>\n  </link>\n\n</link>");
    simpleDocument("people", "people.xml", "person", {{"a", "1"}, {"b", ""}});
    EXPECT_EQ(exported("people"), "\n<person>\n\n  <a>1</a>\n\n  <b/>\n\n</person>");
}

// Attribute nodes sharing a name give one attribute with the later value;
// the library sorts attributes by name and escapes markup.
TEST_F(ExportContentTest, AttributesEscapingAndNonAscii)
{
    MObject doc = document("doc", "doc.xml");
    MObject root = element("root", "r\xC3\xA9sum\xC3\xA9");
    top(doc, root);
    attribute(root, "z", "first");
    attribute(root, "q", "a\"b<c&d>e\tf\ng");
    attribute(root, "z", "later");
    attribute(root, "\xE6\x97\xA5", "");
    child(root, element("t", "t", "x < y && z > w ]]> \"'"));
    child(root, element("cr", "cr", "line\r\nend"));
    child(root, element("emoji", "e", "\xF0\x9F\x98\x80 caf\xC3\xA9"));
    EXPECT_EQ(exported("doc"),
              "\n<r\xC3\xA9sum\xC3\xA9 q=\"a&quot;b&lt;c&amp;d>e&#x9;f&#xA;g\" z=\"later\" \xE6\x97\xA5=\"\">\n\n"
              "  <t>x &lt; y &amp;&amp; z &gt; w ]]&gt; \"'</t>\n\n  <cr>line&#xD;\nend</cr>\n\n"
              "  <e>\xF0\x9F\x98\x80 caf\xC3\xA9</e>\n\n</r\xC3\xA9sum\xC3\xA9>");
}

TEST_F(ExportContentTest, TheSceneIsLeftAsItWas)
{
    simpleDocument("doc", "doc.xml", "a", {{"b", "1"}});
    run("select -r doc_b");
    Outcome before = run("ls -dep");
    exported("doc");
    EXPECT_EQ(run("ls -dep").strings, before.strings);
    EXPECT_EQ(run("ls -sl").strings, Lines{"doc_b"});
    EXPECT_EQ(run("getAttr doc.DocumentName").text, "doc.xml");
}

}  // namespace
