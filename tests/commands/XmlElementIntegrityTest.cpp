// What the commands refuse to keep a tree a tree: a second parent, a walk
// into a loop, a lookup answered from the selection, a half-made create,
// the deletion of an element another tree still holds, and a success for an
// edit the host refused.

#include "CommandTest.h"

using dghost::CommandOutcome;

namespace {

const std::string kFailureText = "(kFailure): Unexpected Internal Failure";

bool anyContains(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& text : texts) {
        if (contains(text, part))
            return true;
    }
    return false;
}

class CommandIntegrityTest : public CommandTest
{
protected:
    // The element scene, and a second document doc2.
    void SetUp() override
    {
        CommandTest::SetUp();
        buildElementScene();
        document("doc2");
    }

    Strings sceneNodes() { return must("ls -dep").strings; }
};

TEST_F(CommandIntegrityTest, ASecondParentIsRefusedInEveryMode)
{
    for (const char* parent : {"doc2", "c"}) {
        for (const char* linked : {"a", "root"}) {
            CommandOutcome edit = runOn(linked, std::string("XmlElement -e -p ") + parent);
            EXPECT_EQ(edit.status, MS::kFailure) << linked << " under " << parent;
            ASSERT_EQ(edit.errors.size(), 2u);
            EXPECT_TRUE(contains(takeOutput(), "Node has already a connection to Parent" + kFailureText));
        }
    }
    EXPECT_TRUE(sourcesOf("doc2.DocumentElements").empty());
    EXPECT_TRUE(sourcesOf("c.FromChildren").empty());

    const Strings before = sceneNodes();
    CommandOutcome create = runOn("", "XmlElement -xn tag -ch a");
    EXPECT_EQ(create.status, MS::kFailure);
    EXPECT_EQ(create.errors, Strings{"Error Add ChildNode to new Node: a"});
    EXPECT_TRUE(contains(takeOutput(), "Error Add ChildNode to new Node" + kFailureText));
    EXPECT_EQ(sceneNodes(), before);
    EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b"}));
}

TEST_F(CommandIntegrityTest, ACreateThatWouldCloseALoopCreatesNothing)
{
    // The new node would hang under b and hold root, b's own parent.
    must("disconnectAttr root.ToParent doc.DocumentElements[0]");
    const Strings before = sceneNodes();
    CommandOutcome out = run("XmlElement -n m -ch root -p b");
    EXPECT_EQ(out.status, MS::kFailure);
    EXPECT_TRUE(contains(takeOutput(), "Parent is the Node itself or one of its descendants"));
    EXPECT_EQ(sceneNodes(), before);
}

TEST_F(CommandIntegrityTest, AnUnknownNameNeverActsOnTheSelectedNode)
{
    const Strings before = sceneNodes();
    CommandOutcome parent = runOn("c", "XmlElement -n m -p typo");
    EXPECT_EQ(parent.status, MS::kInvalidParameter);
    EXPECT_EQ(parent.errors, Strings{" Provided Parent Node is Invalid"});
    EXPECT_EQ(sceneNodes(), before);
    EXPECT_TRUE(sourcesOf("c.FromChildren").empty());

    CommandOutcome child = runOn("c", "XmlElement -e -ch typo");
    EXPECT_EQ(child.status, MS::kInvalidParameter);
    EXPECT_TRUE(sourcesOf("c.FromChildren").empty());

    const std::string path = tempPath("typo.xml");
    CommandOutcome save = runOn("doc", "XmlSaveFile -n typo -f \"" + path + "\"");
    EXPECT_NE(save.status, MS::kSuccess);
    EXPECT_EQ(readFile(path), "");
    EXPECT_EQ(must("ls -sl").strings, Strings{"doc"});
}

TEST_F(CommandIntegrityTest, EditsTheHostRefusedAnswerNoSuccess)
{
    linkAttribute("w", "a", 1);
    struct Case {
        const char* selection;
        const char* statement;
    };
    for (const Case& edit : {Case{"root", "XmlElement -dc a"}, Case{"root", "XmlElement -dac"},
                             Case{"a", "XmlElement -da id"}, Case{"a", "XmlElement -daa"},
                             Case{"c", "XmlElement -e -at w"}, Case{"root", "XmlElement -rc a"}}) {
        must(std::string("select -r ") + edit.selection);
        takeOutput();
        dghost::fault::failCall("doIt", 1);
        CommandOutcome out = run(edit.statement);
        dghost::fault::clear();
        EXPECT_NE(out.status, MS::kSuccess) << edit.statement;
        EXPECT_EQ(out.kind, CommandOutcome::Kind::None) << edit.statement;
        EXPECT_TRUE(contains(takeOutput(), "Error doIt")) << edit.statement;
    }
    // What failed stayed; -dac and -daa went on with the next link.
    EXPECT_EQ(sourcesOf("root.FromChildren"), Strings{"a"});
    EXPECT_EQ(sourcesOf("a.XmlAttributes"), Strings{"id"});
    EXPECT_TRUE(sourcesOf("c.XmlAttributes").empty());
    EXPECT_TRUE(exists("a"));
}

TEST_F(CommandIntegrityTest, RemovalKeepsWhatAnotherParentHolds)
{
    // deep hangs below a, and by hand below c as well; a's attribute id too.
    element("deep", "deep");
    linkChild("deep", "a", 0);
    linkChild("deep", "c", 0);
    attributeNode("d", "d", "dv");
    linkAttribute("d", "deep", 0);
    CommandOutcome out = runOn("root", "XmlElement -rc a");
    EXPECT_EQ(out.status, MS::kSuccess);
    EXPECT_TRUE(out.boolValue);
    EXPECT_FALSE(exists("a"));
    EXPECT_FALSE(exists("id"));
    EXPECT_TRUE(exists("deep"));
    EXPECT_TRUE(exists("d"));
    EXPECT_EQ(sourcesOf("c.FromChildren"), Strings{"deep"});
    EXPECT_EQ(sourcesOf("deep.XmlAttributes"), Strings{"d"});
    EXPECT_EQ(runOn("deep", "XmlElement -q -p").strings, Strings{"c"});

    // The same through -rac: b goes, deep (under c) stays.
    linkChild("deep", "b", 0);
    EXPECT_EQ(runOn("root", "XmlElement -rac").strings, Strings{"b"});
    EXPECT_FALSE(exists("b"));
    EXPECT_TRUE(exists("deep"));
}

// root and a made into a loop by hand: a takes root as its child, so root
// has two parents (doc and a).
class LoopCommandTest : public CommandIntegrityTest
{
protected:
    void SetUp() override
    {
        CommandIntegrityTest::SetUp();
        must("connectAttr root.ToParent a.FromChildren[0]");
        // x is free, with a loop below it: y and z hang below each other.
        element("x");
        element("y");
        element("z");
        linkChild("y", "x", 0);
        linkChild("z", "y", 0);
        linkChild("y", "z", 0);
    }

    // Every command that walks below an element fails with the loop named,
    // and changes nothing.
    void expectEveryWalkRefused()
    {
        const Strings before = sceneNodes();
        struct Case {
            const char* selection;
            std::string statement;
            bool showsLoop;  // the message for the user names the loop
        };
        const std::string path = tempPath("loop.xml");
        for (const Case& walk : {Case{"doc", "XmlFind -c -n item", true},
                                 Case{"a", "XmlFind -c -v x", true},
                                 Case{"root", "XmlElement -rc a", true},
                                 Case{"root", "XmlElement -rac", true},
                                 Case{"c", "XmlElement -e -ch x", false},
                                 Case{"", "XmlElement -n m -ch x", false},
                                 Case{"", "XmlSaveFile -n doc -f \"" + path + "\"", true}}) {
            CommandOutcome out = runOn(walk.selection, walk.statement);
            EXPECT_NE(out.status, MS::kSuccess) << walk.statement;
            EXPECT_FALSE(out.errors.empty()) << walk.statement;
            if (walk.showsLoop) {
                EXPECT_TRUE(anyContains(out.errors, "loop through the node")) << walk.statement;
            }
            EXPECT_TRUE(contains(takeOutput(), "loop through the node")) << walk.statement;
        }
        EXPECT_EQ(sceneNodes(), before);
        EXPECT_EQ(sourcesOf("root.FromChildren"), (Strings{"a", "b"}));
        // The children are still there to be looked at and cut by hand.
        EXPECT_EQ(runOn("root", "XmlElement -q -ch").strings, (Strings{"a", "b"}));
        EXPECT_EQ(runOn("a", "XmlElement -q -ch").strings, Strings{"root"});
    }
};

TEST_F(LoopCommandTest, MadeWithConnectAttrEveryWalkFails)
{
    expectEveryWalkRefused();
}

TEST_F(LoopCommandTest, ReadFromASceneFileEveryWalkFails)
{
    const std::string scene = tempPath("loop.ma");
    must("file -rename \"" + scene + "\"");
    must("file -save");
    must("file -new -force");
    must("file -open -force \"" + scene + "\"");
    expectEveryWalkRefused();
    // A loop cut by hand leaves a tree the commands walk again.
    must("disconnectAttr root.ToParent a.FromChildren[0]");
    EXPECT_EQ(runOn("doc", "XmlFind -c -n item").strings, (Strings{"a", "b"}));
}

}  // namespace
