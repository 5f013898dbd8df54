// Document nodes, top-level element links, and element names and values.

#include "tests/tree/TreeTest.h"

namespace {

using DocumentTest = TreeTest;

std::string documentNameOf(const MObject& doc)
{
    MString name;
    EXPECT_EQ(getDocumentName(doc, name), MS::kSuccess);
    return name.asChar();
}

TEST_F(DocumentTest, CreatedDocumentsCarryTheirNames)
{
    const MObject named = createDocumentNode("a.xml", "doc");
    EXPECT_EQ(takeOutput(), "Creating XML DocNode Name\nSetting DocNodeName\n");
    EXPECT_EQ(nameOf(named), "doc");
    EXPECT_EQ(documentNameOf(named), "a.xml");

    const MObject unnamed = createDocumentNode("b.xml", "");
    EXPECT_EQ(takeOutput(), "Creating XML DocNode w/o Name\nSetting DocNodeName\n");
    EXPECT_EQ(nameOf(unnamed), "xmlDocument1");
    EXPECT_EQ(documentNameOf(unnamed), "b.xml");
}

TEST_F(DocumentTest, KindChecksComeBeforeAnyChange)
{
    const MObject doc = document("doc");
    const MObject el = element("el", "tag");
    MDGModifier modifier;
    EXPECT_EQ(addElementToDocument(el, el, modifier), MS::kInvalidParameter);
    EXPECT_EQ(addElementToDocument(doc, doc, modifier), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "Error on Parent & Child Checking Node\n"
                            "Error on Parent & Child Checking Node\n");
    EXPECT_FALSE(hasParentLink(el));

    MObjectArray elements(1, doc);
    EXPECT_EQ(getDocumentElements(el, elements), MS::kInvalidParameter);
    EXPECT_EQ(elements.length(), 1u);
    MString text("kept");
    EXPECT_EQ(getDocumentName(el, text), MS::kInvalidParameter);
    EXPECT_EQ(getElementName(doc, text), MS::kInvalidParameter);
    EXPECT_EQ(std::string(text.asChar()), "kept");
    EXPECT_EQ(setElementName(doc, "x"), MS::kInvalidParameter);
    EXPECT_EQ(setElementValue(doc, "x"), MS::kInvalidParameter);
    EXPECT_EQ(documentNameOf(doc), "file.xml");
    MObject root = el;
    EXPECT_EQ(getDocumentRootElement(el, root), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(DocumentTest, TopLevelElementsTakeIndicesInLinkOrder)
{
    const MObject doc = document("doc");
    const MObject first = element("first");
    const MObject second = element("second");

    MObjectArray elements;
    EXPECT_EQ(getDocumentElements(doc, elements), MS::kSuccess);  // never linked
    EXPECT_EQ(elements.length(), 0u);
    MObject root = first;
    EXPECT_EQ(getDocumentRootElement(doc, root), MS::kInvalidParameter);
    EXPECT_EQ(root, first);
    EXPECT_EQ(takeOutput(), "");

    MDGModifier modifier;
    EXPECT_EQ(addElementToDocument(doc, second, modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "Connecting to Docnode on ElementCount\n0\n");
    EXPECT_EQ(getDocumentRootElement(doc, root), MS::kSuccess);
    EXPECT_EQ(root, second);
    EXPECT_EQ(takeOutput(), "Doc is Networked\nDoc is Array\n1\n");
    EXPECT_EQ(addElementToDocument(doc, first, modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "Connecting to Docnode on ElementCount\n1\n");
    EXPECT_EQ(links(doc, "DocElements"),
              (std::vector<std::pair<int, std::string>>{{0, "second"}, {1, "first"}}));

    elements.append(doc);  // appended to, never cleared
    EXPECT_EQ(getDocumentElements(doc, elements), MS::kSuccess);
    EXPECT_EQ(names(elements), Names({"doc", "second", "first"}));
    EXPECT_EQ(takeOutput(), "Doc is Networked\nDoc is Array\n2\n");
    EXPECT_EQ(getDocumentRootElement(doc, root), MS::kInvalidParameter);
}

TEST_F(DocumentTest, ElementNamesAndValuesAreWrittenOnlyWhenGiven)
{
    MString text;
    const MObject bare = element("bare");
    EXPECT_EQ(getElementName(bare, text), MS::kSuccess);
    EXPECT_EQ(std::string(text.asChar()), "");
    const MObject valueOnly = element("valueOnly", "", "some text");
    EXPECT_EQ(getElementValue(valueOnly, text), MS::kSuccess);
    EXPECT_EQ(std::string(text.asChar()), "some text");
    EXPECT_EQ(getElementName(valueOnly, text), MS::kSuccess);
    EXPECT_EQ(std::string(text.asChar()), "");

    EXPECT_EQ(setElementName(bare, "Tag"), MS::kSuccess);
    EXPECT_EQ(setElementValue(bare, " v "), MS::kSuccess);
    EXPECT_EQ(getElementName(bare, text), MS::kSuccess);
    EXPECT_EQ(std::string(text.asChar()), "Tag");
    EXPECT_EQ(getElementValue(bare, text), MS::kSuccess);
    EXPECT_EQ(std::string(text.asChar()), " v ");
    EXPECT_EQ(takeOutput(), "");
}

// A cut link leaves a gap in the indices once the scene is saved and opened
// again; the listing must not skip past it and the next link must not land
// on an occupied element.
TEST_F(DocumentTest, TopLevelElementsSurviveAGapAfterReopening)
{
    const MObject doc = document("doc");
    for (const char* name : {"e0", "e1", "e2"})
        linkToDocument(doc, element(name));
    MDGModifier modifier;
    ASSERT_EQ(modifier.disconnect(MFnDependencyNode(node("e1")).findPlug("2Parent", false),
                                  MFnDependencyNode(doc).findPlug("DocElements", false)
                                      .elementByLogicalIndex(1)),
              MS::kSuccess);
    ASSERT_EQ(modifier.doIt(), MS::kSuccess);
    saveAndReopen();

    MObjectArray elements;
    EXPECT_EQ(getDocumentElements(node("doc"), elements), MS::kSuccess);
    EXPECT_EQ(names(elements), Names({"e0", "e2"}));
    EXPECT_EQ(addElementToDocument(node("doc"), node("e1"), modifier), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "Doc is Networked\nDoc is Array\n2\n"
                            "Connecting to Docnode on ElementCount\n3\n");
    EXPECT_EQ(links(node("doc"), "DocElements"),
              (std::vector<std::pair<int, std::string>>{{0, "e0"}, {2, "e2"}, {3, "e1"}}));
}

TEST_F(DocumentTest, FailedStepsAreLoggedAndTheOperationGoesOn)
{
    dghost::fault::failCall("setValue", 1);
    const MObject doc = createDocumentNode("a.xml", "doc");
    EXPECT_FALSE(doc.isNull());
    EXPECT_EQ(takeOutput(),
              "Creating XML DocNode Name\n"
              "Setting DocNodeName\n"
              "Error XMLDocNode Set Name Plug(kFailure): Unexpected Internal Failure\n"
              "Error XMLDocNode set Doc Name(kFailure): Unexpected Internal Failure\n");

    dghost::fault::failCall("findPlug", 1);
    EXPECT_EQ(setDocumentName(doc, "b.xml"), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(),
              "Setting DocNodeName\n"
              "Error find Plug(kFailure): Unexpected Internal Failure\n"
              "Error XMLDocNode Set Name Plug(kInvalidParameter): Object is incompatible with this "
              "method\n");

    const MObject el = element("el");
    MDGModifier modifier;
    dghost::fault::failCall("connect", 1);
    dghost::fault::failCall("doIt", 1, MS::kInvalidParameter);
    EXPECT_EQ(addElementToDocument(doc, el, modifier), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(),
              "Connecting to Docnode on ElementCount\n0\n"
              "Error Connecting XML->Doc Node(kFailure): Unexpected Internal Failure\n"
              "Error MDGModifier DoIt(kInvalidParameter): Object is incompatible with this method\n");
    EXPECT_FALSE(hasParentLink(el));

    // The failed link left element 0 unconnected; the next one goes to 1.
    linkToDocument(doc, el);
    dghost::fault::failCall("connectedTo", 1);
    MObjectArray elements;
    EXPECT_EQ(getDocumentElements(doc, elements), MS::kSuccess);
    EXPECT_EQ(names(elements), Names({"el"}));
    EXPECT_EQ(takeOutput(), "Doc is Networked\nDoc is Array\n2\n"
                            "Error Getting Childs(kFailure): Unexpected Internal Failure\n");
}

}  // namespace
