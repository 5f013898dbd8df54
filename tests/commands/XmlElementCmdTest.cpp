// The XmlElement command: selection, each flag in edit, query and create
// mode, the order in which combined flags act, and its error lines.

#include "CommandTest.h"

using dghost::CommandOutcome;

namespace {

const char* const kNoElement = "No Element selected thats able to be edited or queryed";
const std::string kFailureText = "(kFailure): Unexpected Internal Failure";

class XmlElementTest : public CommandTest
{
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        buildElementScene();
    }

    size_t elementCount() { return must("ls -type XmlElement").strings.size(); }
};

// ---- selection -----------------------------------------------------------

TEST_F(XmlElementTest, EditWithNothingSelectedIsRefusedWithSuccess)
{
    CommandOutcome out = runOn("", "XmlElement -e -xn tag");
    EXPECT_EQ(out.status, MS::kSuccess);
    EXPECT_EQ(out.errors, Strings{kNoElement});
    EXPECT_EQ(out.kind, CommandOutcome::Kind::None);
    EXPECT_EQ(getAttr("a.XmlName"), "item");
}

TEST_F(XmlElementTest, DisconnectFlagsInCreateModeNeedASelectionAndCreateNothing)
{
    const size_t before = elementCount();
    for (const char* flags : {"-dc a", "-dac", "-dp root", "-da id", "-daa", "-rc a", "-rac", "-ra id", "-raa"}) {
        CommandOutcome out = runOn("doc", std::string("XmlElement ") + flags);
        EXPECT_EQ(out.status, MS::kSuccess) << flags;
        EXPECT_EQ(out.errors, Strings{kNoElement}) << flags;
    }
    EXPECT_EQ(elementCount(), before);
    EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b"}));
}

TEST_F(XmlElementTest, LastSelectedElementWinsAndEachItemsTypeIsPrinted)
{
    CommandOutcome out = runOn("a doc b", "XmlElement -q -xv");
    EXPECT_EQ(out.text, "y");
    std::string log = takeOutput();
    std::string type = node("a").apiTypeStr();
    EXPECT_EQ(log.substr(0, 3 * (type.size() + 1)), type + "\n" + type + "\n" + type + "\n");

    EXPECT_EQ(runOn("b a", "XmlElement -q -xv").text, "x");
}

// ---- -name ---------------------------------------------------------------

TEST_F(XmlElementTest, NodeNameIsNeitherQueryableNorEditable)
{
    CommandOutcome query = runOn("a", "XmlElement -q -n");
    EXPECT_EQ(query.errors, Strings{"Node Name is not Queryable"});
    EXPECT_EQ(query.status, MS::kSuccess);
    CommandOutcome edit = runOn("a", "XmlElement -e -n other -xn tag");
    EXPECT_EQ(edit.errors, Strings{"Node Name is not Editable"});
    EXPECT_EQ(edit.status, MS::kSuccess);
    EXPECT_TRUE(exists("a"));
    EXPECT_EQ(getAttr("a.XmlName"), "item");
}

// ---- -xname / -xvalue ----------------------------------------------------

TEST_F(XmlElementTest, XmlNameAndValueAreEditedAndQueried)
{
    CommandOutcome name = runOn("a", "XmlElement -e -xn \"new tag\"");
    EXPECT_EQ(name.text, "Set XmlName successfull");
    EXPECT_TRUE(contains(takeOutput(), "\nnew tag\n"));
    EXPECT_EQ(getAttr("a.XmlName"), "new tag");
    EXPECT_EQ(runOn("a", "XmlElement -q -xn").text, "new tag");

    CommandOutcome value = runOn("a", "XmlElement -e -xv \" Some Text \"");
    EXPECT_EQ(value.text, "Set XmlValue successfull");
    EXPECT_EQ(getAttr("a.XmlValue"), " Some Text ");
    EXPECT_EQ(runOn("a", "XmlElement -q -xv").text, " Some Text ");
}

TEST_F(XmlElementTest, EditOfNameAndValueTogetherWritesOnlyTheName)
{
    CommandOutcome out = runOn("a", "XmlElement -e -xn n2 -xv v2");
    EXPECT_EQ(out.text, "Set XmlName successfull");
    EXPECT_EQ(getAttr("a.XmlName"), "n2");
    EXPECT_EQ(getAttr("a.XmlValue"), "x");
}

// A write the host refused did not happen: the command fails and claims
// nothing.
TEST_F(XmlElementTest, FailedXmlNameOrValueWriteIsLoggedAndFails)
{
    must("select -r a");
    takeOutput();
    dghost::fault::failCall("setValue", 1);
    CommandOutcome out = run("XmlElement -e -xn tag");
    EXPECT_EQ(out.kind, CommandOutcome::Kind::None);
    EXPECT_EQ(out.status, MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error SetValue XmlNodeName" + kFailureText + "\n"));
    EXPECT_EQ(getAttr("a.XmlName"), "item");

    dghost::fault::failCall("setValue", 1);
    CommandOutcome value = run("XmlElement -e -xv text");
    EXPECT_EQ(value.kind, CommandOutcome::Kind::None);
    EXPECT_EQ(value.status, MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error SetValue XmlNodeValue" + kFailureText + "\n"));
    EXPECT_EQ(getAttr("a.XmlValue"), "x");
}

// ---- -child --------------------------------------------------------------

TEST_F(XmlElementTest, ChildrenAreQueriedAndLinked)
{
    CommandOutcome query = runOn("root", "XmlElement -q -ch");
    EXPECT_EQ(query.strings, (Strings{"a", "b"}));
    std::string log = takeOutput();
    EXPECT_TRUE(contains(log, "Child Flag Raised\nis queried\n"));

    CommandOutcome added = runOn("root", "XmlElement -e -ch c");
    EXPECT_EQ(added.kind, CommandOutcome::Kind::Bool);
    EXPECT_TRUE(added.boolValue);
    EXPECT_EQ(runOn("root", "XmlElement -q -ch").strings, (Strings{"a", "b", "c"}));
}

TEST_F(XmlElementTest, EditChildRefusals)
{
    CommandOutcome missing = runOn("root", "XmlElement -e -ch nothing");
    EXPECT_EQ(missing.status, MS::kInvalidParameter);
    EXPECT_TRUE(missing.errors.empty());

    // b has a parent already: the library refuses, the command reports.
    CommandOutcome taken = runOn("c", "XmlElement -e -ch b");
    EXPECT_EQ(taken.status, MS::kFailure);
    EXPECT_EQ(taken.errors, Strings{"Error Adding Child to XML Node"});
    EXPECT_TRUE(contains(takeOutput(), "Error Adding Child to XML Node(kFailure): "));
    EXPECT_TRUE(sourcesOf("c.FromChildren").empty());
    EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b"}));
}

// ---- -parent -------------------------------------------------------------

TEST_F(XmlElementTest, QueryOfTwoParentsListsAndLogsBoth)
{
    element("p1");
    element("p2");
    linkChild("c", "p1", 0);
    linkChild("c", "p2", 0);
    CommandOutcome out = runOn("c", "XmlElement -q -p");
    EXPECT_EQ(out.strings, (Strings{"p1", "p2"}));
    EXPECT_TRUE(contains(takeOutput(), "\n[ p1, p2,  ]\n"));
    EXPECT_EQ(runOn("root", "XmlElement -q -p").strings, Strings{"doc"});
}

TEST_F(XmlElementTest, FailedParentQueryIsLoggedAndShown)
{
    must("select -r a");
    takeOutput();
    dghost::fault::failCall("connectedTo", 1);
    CommandOutcome out = run("XmlElement -q -p");
    EXPECT_EQ(out.status, MS::kFailure);
    EXPECT_EQ(out.errors, Strings{"Error get Parent Names"});
    EXPECT_TRUE(contains(takeOutput(), "Error get Parent Node" + kFailureText + "\n"));
}

TEST_F(XmlElementTest, EditParentLinksToElementOrDocumentAndGoesOn)
{
    must("createNode XmlDocument -n doc2");
    CommandOutcome toDoc = runOn("c", "XmlElement -e -p doc2 -at w");
    EXPECT_EQ(toDoc.status, MS::kSuccess);
    EXPECT_EQ(toDoc.text, "Added Attribute to Node");
    EXPECT_EQ(sourcesOf("doc2.DocumentElements"), Strings{"c"});
    EXPECT_EQ(sourcesOf("c.XmlAttributes"), Strings{"w"});

    element("d");
    CommandOutcome toElement = runOn("d", "XmlElement -e -p b");
    EXPECT_EQ(toElement.status, MS::kSuccess);
    EXPECT_EQ(toElement.kind, CommandOutcome::Kind::None);
    EXPECT_EQ(sourcesOf("b.FromChildren"), Strings{"d"});
}

TEST_F(XmlElementTest, EditParentRefusals)
{
    CommandOutcome nowhere = runOn("c", "XmlElement -e -p id");
    EXPECT_EQ(nowhere.status, MS::kInvalidParameter);
    EXPECT_EQ(nowhere.errors, Strings{"Error the given Element couldnt be an ParentNode"});

    CommandOutcome taken = runOn("a", "XmlElement -e -p c -at w");
    EXPECT_EQ(taken.status, MS::kFailure);
    ASSERT_EQ(taken.errors.size(), 2u);
    EXPECT_TRUE(contains(taken.errors[0], "(kFailure): "));
    EXPECT_EQ(taken.errors[1], "Error adding Element as child to given Xml Element");
    EXPECT_EQ(sourcesOf("a.XmlAttributes"), Strings{"id"});   // -at not reached
}

// ---- -attribute ----------------------------------------------------------

TEST_F(XmlElementTest, AttributesAreQueriedAndLinked)
{
    EXPECT_EQ(runOn("a", "XmlElement -q -at").strings, Strings{"id"});
    CommandOutcome added = runOn("a", "XmlElement -e -at w");
    EXPECT_EQ(added.text, "Added Attribute to Node");
    EXPECT_EQ(runOn("a", "XmlElement -q -at").strings, (Strings{"id", "w"}));

    CommandOutcome missing = runOn("a", "XmlElement -e -at b");
    EXPECT_EQ(missing.status, MS::kInvalidParameter);
    EXPECT_EQ(missing.errors, Strings{"The given AttributeName doesnt leads to an Vallid Attribute Node"});
}

// ---- -dp -----------------------------------------------------------------

TEST_F(XmlElementTest, DisconnectParentWithAndWithoutName)
{
    CommandOutcome wrong = runOn("a", "XmlElement -dp b");
    EXPECT_EQ(wrong.status, MS::kInvalidParameter);
    EXPECT_EQ(wrong.errors, Strings{"Node has no Parent, or provided Name is not Parent"});
    EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b"}));

    CommandOutcome named = runOn("a", "XmlElement -dp root");
    EXPECT_EQ(named.text, "Disconnected from parent");
    EXPECT_TRUE(contains(takeOutput(), "Remove Parent Flag Raised\nprovided Name\nroot\nprovided Name end\nwith Called\n"));
    EXPECT_EQ(sourcesOf("root.FromChildren"), Strings{"b"});

    // In query mode the flag reads no name: any parent is cut.
    CommandOutcome unnamed = runOn("b", "XmlElement -q -dp");
    EXPECT_EQ(unnamed.text, "Disconnected from parent");
    EXPECT_TRUE(contains(takeOutput(), "provided Name end\nwithout Called\n"));
    EXPECT_TRUE(sourcesOf("root.FromChildren").empty());
    EXPECT_TRUE(exists("a") && exists("b"));
}

// ---- -dc / -dac ----------------------------------------------------------

TEST_F(XmlElementTest, DisconnectChild)
{
    CommandOutcome empty = runOn("root", "XmlElement -dc \"\"");
    EXPECT_EQ(empty.status, MS::kSuccess);
    EXPECT_EQ(empty.errors,
              Strings{"No ChildName given please provide Name of childNode or use RemoveAllChildren Flag"});

    CommandOutcome wrong = runOn("root", "XmlElement -dc c");
    EXPECT_EQ(wrong.status, MS::kInvalidParameter);
    EXPECT_EQ(wrong.errors, Strings{"Problem occured, Node has no Childs or provided Name is wrong"});

    CommandOutcome done = runOn("root", "XmlElement -dc a");
    EXPECT_TRUE(done.boolValue);
    EXPECT_TRUE(contains(takeOutput(), " Remove Child Flag is Raised\n"));
    EXPECT_EQ(sourcesOf("root.FromChildren"), Strings{"b"});
    EXPECT_TRUE(exists("a"));
    EXPECT_EQ(sourcesOf("a.XmlAttributes"), Strings{"id"});
}

TEST_F(XmlElementTest, DisconnectAllChildrenAnswersTheFormerChildren)
{
    CommandOutcome out = runOn("root", "XmlElement -dac");
    EXPECT_EQ(out.strings, (Strings{"a", "b"}));
    EXPECT_TRUE(contains(takeOutput(), "REmoveAllChildFlag Raised\n"));
    EXPECT_TRUE(sourcesOf("root.FromChildren").empty());
    EXPECT_TRUE(exists("a") && exists("b"));

    CommandOutcome none = runOn("root", "XmlElement -dac");
    EXPECT_EQ(none.status, MS::kSuccess);
    EXPECT_TRUE(none.strings.empty());
}

// ---- -da / -daa ----------------------------------------------------------

TEST_F(XmlElementTest, DisconnectAttribute)
{
    CommandOutcome empty = runOn("a", "XmlElement -da \"\"");
    EXPECT_EQ(empty.status, MS::kSuccess);
    EXPECT_EQ(empty.errors, Strings{"No attribute nodename given "});

    CommandOutcome wrong = runOn("a", "XmlElement -da w");
    EXPECT_EQ(wrong.status, MS::kInvalidParameter);
    EXPECT_EQ(wrong.errors, Strings{"given node has no Attributes or invalid Attribute Name"});

    CommandOutcome done = runOn("a", "XmlElement -da id");
    EXPECT_TRUE(done.boolValue);
    EXPECT_TRUE(contains(takeOutput(), "Call Remove Attribute\n"));
    EXPECT_TRUE(sourcesOf("a.XmlAttributes").empty());
    EXPECT_TRUE(exists("id"));
}

TEST_F(XmlElementTest, DisconnectAllAttributes)
{
    linkAttribute("w", "a", 1);
    CommandOutcome out = runOn("a", "XmlElement -daa");
    EXPECT_EQ(out.strings, (Strings{"id", "w"}));
    EXPECT_TRUE(sourcesOf("a.XmlAttributes").empty());

    CommandOutcome none = runOn("a", "XmlElement -daa");
    EXPECT_EQ(none.status, MS::kSuccess);
    EXPECT_EQ(none.errors, Strings{"Given Node has No Attributes"});
    EXPECT_EQ(none.kind, CommandOutcome::Kind::None);
}

// ---- create mode ---------------------------------------------------------

TEST_F(XmlElementTest, CreateWithEveryOptionAnswersTheNewName)
{
    CommandOutcome out = runOn("", "XmlElement -n leaf -xn tag -xv text -ch c -p doc -at w");
    EXPECT_EQ(out.status, MS::kSuccess);
    EXPECT_EQ(out.text, "leaf");
    EXPECT_TRUE(contains(takeOutput(), "Set XML Node Name\n"));
    EXPECT_EQ(getAttr("leaf.XmlName"), "tag");
    EXPECT_EQ(getAttr("leaf.XmlValue"), "text");
    EXPECT_EQ(sourcesOf("leaf.FromChildren"), Strings{"c"});
    EXPECT_EQ(sourcesOf("doc.DocumentElements"), (Strings{"root", "leaf"}));
    EXPECT_EQ(sourcesOf("leaf.XmlAttributes"), Strings{"w"});

    EXPECT_EQ(run("XmlElement -n leaf -p root").text, "leaf1");
    EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b", "leaf1"}));
    EXPECT_EQ(run("XmlElement").text, "xmlElement1");
}

// Every named node is checked before the new one is made: a refusal
// creates nothing.
TEST_F(XmlElementTest, CreateRefusesAWrongNameBeforeCreatingAnything)
{
    const Strings scene = must("ls -dep").strings;
    CommandOutcome child = runOn("", "XmlElement -n n1 -ch missing -p doc");
    EXPECT_EQ(child.status, MS::kSuccess);
    EXPECT_EQ(child.errors, Strings{" Given Node is not an XML Node"});
    EXPECT_EQ(child.kind, CommandOutcome::Kind::None);
    EXPECT_FALSE(exists("n1"));
    EXPECT_EQ(sourcesOf("doc.DocumentElements"), Strings{"root"});   // -p not reached

    CommandOutcome parent = run("XmlElement -n n2 -p id");
    EXPECT_EQ(parent.status, MS::kInvalidParameter);
    EXPECT_EQ(parent.errors, Strings{" Provided Parent Node is Invalid"});
    EXPECT_FALSE(exists("n2"));

    CommandOutcome attribute = run("XmlElement -n n3 -xn t -ch c -p root -at c");
    EXPECT_EQ(attribute.status, MS::kInvalidParameter);
    EXPECT_EQ(attribute.errors, Strings{"Providede Attribute Node is Invaluid"});
    EXPECT_FALSE(exists("n3"));
    EXPECT_EQ(must("ls -dep").strings, scene);
    EXPECT_TRUE(sourcesOf("c.FromChildren").empty());
    EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b"}));
}

TEST_F(XmlElementTest, CreateErrorLines)
{
    dghost::fault::failCall("createNode", 1);
    CommandOutcome notMade = run("XmlElement -n n1");
    EXPECT_EQ(notMade.status, MS::kSuccess);
    EXPECT_EQ(notMade.errors, Strings{"Error creating XML Node"});
    EXPECT_FALSE(exists("n1"));

    // A creation answering kNotFound counts as done, and the null node it
    // gave refuses its name and value.
    const std::string incompatible = "(kInvalidParameter): Object is incompatible with this method";
    takeOutput();
    dghost::fault::failCall("createNode", 1, MS::kNotFound);
    CommandOutcome noName = run("XmlElement -n n2 -xn tag -xv text");
    EXPECT_EQ(noName.status, MS::kInvalidParameter);
    std::string log = takeOutput();
    EXPECT_TRUE(contains(log, "Set XML Node Name\nError Set XML Name" + incompatible + "\n\n")) << log;
    EXPECT_FALSE(contains(log, "Error Set XML Value"));

    dghost::fault::failCall("createNode", 1, MS::kNotFound);
    CommandOutcome noValue = run("XmlElement -n n3 -xv text");
    EXPECT_EQ(noValue.status, MS::kInvalidParameter);
    EXPECT_TRUE(contains(takeOutput(), "Error Set XML Value" + incompatible + "\n\n"));
    EXPECT_FALSE(exists("n2") || exists("n3"));
}

TEST_F(XmlElementTest, CreateLinkErrorLines)
{
    takeOutput();
    dghost::fault::failCall("doIt", 1);
    CommandOutcome child = run("XmlElement -n n1 -ch c");
    EXPECT_EQ(child.status, MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error Add ChildNode to new Node" + kFailureText + "\n"));

    dghost::fault::failCall("doIt", 1);
    CommandOutcome parent = run("XmlElement -n n2 -p root");
    EXPECT_EQ(parent.status, MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Error Adding Child to XML Node" + kFailureText + "\n"));

    // A failed document link is reported and the command goes on.
    dghost::fault::failCall("doIt", 1);
    CommandOutcome document = run("XmlElement -n n3 -p doc");
    EXPECT_EQ(document.status, MS::kSuccess);
    EXPECT_EQ(document.text, "n3");
    EXPECT_TRUE(contains(takeOutput(), "Error Adding Child to Document Node" + kFailureText + "\n"));
}

// ---- -help ---------------------------------------------------------------

TEST_F(XmlElementTest, HelpWinsOverEveryOtherFlag)
{
    const size_t before = elementCount();
    CommandOutcome out = runOn("a", "XmlElement -h -e -xn other");
    EXPECT_EQ(out.text,
              " XmlElement -\nUse this command to create/modify/query XML Element Nodes in Maya\nCommands :\n"
              "\t -h/-help\t: displays this text\n\t -n/-name\t: Name of the Xml Node\n"
              "\t -xn/-xname\t: Xml Element Name  (XML-Tag Name)\n\t -xv/-xvalue\t: Xml Element Value XML \n"
              "\t -ch/-child\t: Adds / Querys the children of the actual selected node \n"
              "\t -dch/-disconnectchild\t: disconnects the specified child of the actual seleced node \n"
              "\t -dach/-disconnectallchild\t: disconnects all children of the actual seleced node \n"
              "\t -rc/-removechild\t: disconnects & removes the specified child of the actual seleced node\t\n"
              "\t -rac/-removeallchild\t: disconnects & removes all children of the actual seleced node\n"
              "\t -p/-parent\t: Query's / Edits the Parent of the actual selected node \n"
              "\t -rp/-rparent\t: disconnects the  actual selected node from its parent (you may provide the "
              "parents name)\n"
              "\t -at/-attribute\t: Adds / Querys the attributes of the actual selected node\n"
              "\t -da/-disconnectattribute\t: disconnects the specified attribute from the actual selected node\n"
              "\t -daa/-disconnectallattribute\t: disconnects all attribute from the actual selected node\n");
    EXPECT_EQ(getAttr("a.XmlName"), "item");
    EXPECT_EQ(elementCount(), before);
}

TEST_F(XmlElementTest, LongFlagNamesAreAccepted)
{
    EXPECT_EQ(runOn("a", "XmlElement -edit -xname t2").text, "Set XmlName successfull");
    EXPECT_EQ(runOn("a", "XmlElement -query -xvalue").text, "x");
    EXPECT_EQ(runOn("root", "XmlElement -disconnectchild b").boolValue, true);
    EXPECT_EQ(runOn("a", "XmlElement -removeallattribute").strings, Strings{"id"});
    EXPECT_FALSE(exists("id"));
}

}  // namespace
