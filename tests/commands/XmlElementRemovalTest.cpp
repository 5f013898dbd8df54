// The removal flags of XmlElement (-rc, -rac, -ra, -raa): they unlink as
// their -d... twins do, then delete what is no longer linked.

#include "CommandTest.h"

using dghost::CommandOutcome;

namespace {

const std::string kFailureText = "(kFailure): Unexpected Internal Failure";

class XmlElementRemovalTest : public CommandTest
{
protected:
    // doc > root > (keep, gone); gone > deep. Attribute nodes: k on keep,
    // g on gone, d on deep; shared on gone and on the loose element other.
    void SetUp() override
    {
        CommandTest::SetUp();
        buildScene();
    }

    void buildScene()
    {
        document("doc");
        element("root", "config");
        element("keep", "keep", "1");
        element("gone", "gone");
        element("deep", "deep", "2");
        element("other", "other");
        attributeNode("k", "k", "kv");
        attributeNode("g", "g", "gv");
        attributeNode("d", "d", "dv");
        attributeNode("shared", "s", "sv");
        linkTop("root", "doc", 0);
        linkChild("keep", "root", 0);
        linkChild("gone", "root", 1);
        linkChild("deep", "gone", 0);
        linkAttribute("k", "keep", 0);
        linkAttribute("g", "gone", 0);
        linkAttribute("shared", "gone", 1);
        linkAttribute("d", "deep", 0);
        linkAttribute("shared", "other", 0);
    }

    Strings existing(const Strings& names)
    {
        Strings found;
        for (const std::string& name : names) {
            if (exists(name)) {
                found.push_back(name);
            }
        }
        return found;
    }

    const Strings everyNode{"doc", "root", "keep", "gone", "deep", "other", "k", "g", "d", "shared"};
};

TEST_F(XmlElementRemovalTest, RemoveChildDeletesItsSubtreeAndTheAttributesOnlyItHeld)
{
    CommandOutcome out = runOn("root", "XmlElement -rc gone");
    EXPECT_EQ(out.status, MS::kSuccess);
    EXPECT_EQ(out.kind, CommandOutcome::Kind::Bool);
    EXPECT_TRUE(out.boolValue);
    EXPECT_EQ(existing(everyNode), (Strings{"doc", "root", "keep", "other", "k", "shared"}));
    EXPECT_EQ(sourcesOf("root.FromChildren"), Strings{"keep"});
    EXPECT_EQ(sourcesOf("other.XmlAttributes"), Strings{"shared"});
}

TEST_F(XmlElementRemovalTest, RemoveChildRefusesAsDisconnectChildDoes)
{
    CommandOutcome empty = runOn("root", "XmlElement -rc \"\"");
    EXPECT_EQ(empty.status, MS::kSuccess);
    EXPECT_EQ(empty.errors,
              Strings{"No ChildName given please provide Name of childNode or use RemoveAllChildren Flag"});
    CommandOutcome notChild = runOn("root", "XmlElement -rc deep");
    EXPECT_EQ(notChild.status, MS::kInvalidParameter);
    EXPECT_EQ(notChild.errors, Strings{"Problem occured, Node has no Childs or provided Name is wrong"});
    CommandOutcome nothing = runOn("", "XmlElement -rc gone");
    EXPECT_EQ(nothing.errors, Strings{"No Element selected thats able to be edited or queryed"});
    EXPECT_EQ(existing(everyNode), everyNode);
}

TEST_F(XmlElementRemovalTest, RemoveAllChildrenAnswersTheirNamesAndDeletesThem)
{
    CommandOutcome out = runOn("root", "XmlElement -rac");
    EXPECT_EQ(out.strings, (Strings{"keep", "gone"}));
    EXPECT_EQ(existing(everyNode), (Strings{"doc", "root", "other", "shared"}));
    EXPECT_TRUE(sourcesOf("root.FromChildren").empty());

    CommandOutcome none = runOn("root", "XmlElement -rac");
    EXPECT_EQ(none.status, MS::kSuccess);
    EXPECT_TRUE(none.strings.empty());
}

TEST_F(XmlElementRemovalTest, RemoveAttributeDeletesItOnceNoElementLinksIt)
{
    CommandOutcome own = runOn("gone", "XmlElement -ra g");
    EXPECT_TRUE(own.boolValue);
    EXPECT_FALSE(exists("g"));

    CommandOutcome shared = runOn("gone", "XmlElement -ra shared");
    EXPECT_TRUE(shared.boolValue);
    EXPECT_TRUE(exists("shared"));
    EXPECT_TRUE(sourcesOf("gone.XmlAttributes").empty());

    EXPECT_TRUE(runOn("other", "XmlElement -ra shared").boolValue);
    EXPECT_FALSE(exists("shared"));

    CommandOutcome wrong = runOn("keep", "XmlElement -ra d");
    EXPECT_EQ(wrong.status, MS::kInvalidParameter);
    EXPECT_EQ(wrong.errors, Strings{"given node has no Attributes or invalid Attribute Name"});
    EXPECT_TRUE(exists("d"));
    EXPECT_EQ(runOn("keep", "XmlElement -ra \"\"").errors, Strings{"No attribute nodename given "});
}

TEST_F(XmlElementRemovalTest, RemoveAllAttributesKeepsTheSharedOne)
{
    CommandOutcome out = runOn("gone", "XmlElement -raa");
    EXPECT_EQ(out.strings, (Strings{"g", "shared"}));
    EXPECT_FALSE(exists("g"));
    EXPECT_TRUE(exists("shared"));
    EXPECT_EQ(sourcesOf("other.XmlAttributes"), Strings{"shared"});

    CommandOutcome none = runOn("gone", "XmlElement -raa");
    EXPECT_EQ(none.status, MS::kSuccess);
    EXPECT_EQ(none.errors, Strings{"Given Node has No Attributes"});
}

TEST_F(XmlElementRemovalTest, ExportAfterRemovalNoLongerHoldsTheRemovedNodes)
{
    ASSERT_TRUE(runOn("root", "XmlElement -rc gone").boolValue);
    std::string path = tempPath("after.xml");
    CommandOutcome saved = run("XmlSaveFile -n doc -f \"" + path + "\"");
    ASSERT_EQ(saved.status, MS::kSuccess) << (saved.errors.empty() ? "" : saved.errors[0]);
    std::string xml = readFile(path);
    EXPECT_TRUE(contains(xml, "<keep k=\"kv\">1</keep>")) << xml;
    EXPECT_FALSE(contains(xml, "gone")) << xml;
    EXPECT_FALSE(contains(xml, "deep")) << xml;
    EXPECT_FALSE(contains(xml, "sv")) << xml;
}

TEST_F(XmlElementRemovalTest, FailedDeletionQueueIsLoggedAndReported)
{
    must("select -r root");
    takeOutput();
    dghost::fault::failCall("deleteNode", 1);
    CommandOutcome queued = run("XmlElement -rc gone");
    EXPECT_EQ(queued.status, MS::kFailure);
    EXPECT_EQ(queued.errors, Strings{"Error removing the disconnected Nodes from the Scene"});
    EXPECT_TRUE(contains(takeOutput(), "Error Queueing Node Deletion" + kFailureText + "\n"));
    EXPECT_TRUE(exists("gone"));
    EXPECT_FALSE(exists("deep"));
}

TEST_F(XmlElementRemovalTest, FailedDeletionRunIsLoggedAndReported)
{
    must("select -r gone");
    takeOutput();
    dghost::fault::failCall("doIt", 2);   // the first carries out the unlink
    CommandOutcome done = run("XmlElement -ra g");
    EXPECT_EQ(done.status, MS::kFailure);
    EXPECT_EQ(done.errors, Strings{"Error removing the disconnected Nodes from the Scene"});
    EXPECT_TRUE(contains(takeOutput(), "Error Deleting Nodes" + kFailureText + "\n"));
    EXPECT_TRUE(exists("g"));
}

TEST_F(XmlElementRemovalTest, UnreadableAttributeLinksKeepTheNode)
{
    // Count the link reads of one run; the last is the one that decides.
    must("select -r gone");
    unsigned before = dghost::fault::calls("connectedTo");
    run("XmlElement -ra g");
    unsigned reads = dghost::fault::calls("connectedTo") - before;
    ASSERT_GT(reads, 0u);
    dghost::newScene();
    dghost::fault::clear();
    buildScene();

    must("select -r gone");
    takeOutput();
    dghost::fault::failCall("connectedTo", reads);
    CommandOutcome out = run("XmlElement -ra g");
    EXPECT_TRUE(out.boolValue);
    EXPECT_TRUE(contains(takeOutput(), "Error Reading Attribute Links" + kFailureText + "\n"));
    EXPECT_TRUE(exists("g"));
    EXPECT_TRUE(sourcesOf("gone.XmlAttributes") == Strings{"shared"});
}

}  // namespace
