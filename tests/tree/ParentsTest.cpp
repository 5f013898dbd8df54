// Parent links read upwards and cut.

#include "tests/tree/TreeTest.h"

#include "tree/Parents.h"

namespace {

class ParentsTest : public TreeTest
{
protected:
    void SetUp() override
    {
        TreeTest::SetUp();
        doc = document("doc");
        top = element("top");
        child = element("child");
        loose = element("loose");
        linkToDocument(doc, top);
        link(top, child);
    }

    MObject doc, top, child, loose;
};

TEST_F(ParentsTest, ParentsAreListedWithTheirPlugs)
{
    MObjectArray parents(2, loose);  // cleared first
    EXPECT_EQ(getParentNodes(top, parents), MS::kSuccess);
    EXPECT_EQ(names(parents), Names({"doc"}));
    EXPECT_EQ(takeOutput(), "is Connected\n"
                            "Iterating ParentPlugs\n"
                            "doc.DocElements[0]\n"
                            "Element ist not an XML Node\n"
                            " # Element in ParentArray\n1\n");

    EXPECT_EQ(getParentNodes(child, parents), MS::kSuccess);
    EXPECT_EQ(names(parents), Names({"top"}));
    EXPECT_EQ(takeOutput(), "is Connected\nIterating ParentPlugs\ntop.FromChild[0]\n"
                            " # Element in ParentArray\n1\n");

    EXPECT_EQ(getParentNodes(loose, parents), MS::kSuccess);
    EXPECT_EQ(parents.length(), 0u);
    EXPECT_EQ(takeOutput(), "there are No Parents\n # Element in ParentArray\n0\n");

    EXPECT_EQ(getParentNodes(doc, parents), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(ParentsTest, ParentNamesAreAppendedAndMatchedExactly)
{
    MStringArray parentNames;
    parentNames.append("kept");
    EXPECT_EQ(getParentNames(child, parentNames), MS::kSuccess);
    EXPECT_EQ(names(parentNames), Names({"kept", "top"}));
    EXPECT_NE(takeOutput().find("Parent Array Size is\n1\n"), std::string::npos);

    bool found = true;
    EXPECT_EQ(isParentNamed(child, "Top", found), MS::kSuccess);
    EXPECT_FALSE(found);
    EXPECT_EQ(isParentNamed(child, "top", found), MS::kSuccess);
    EXPECT_TRUE(found);
    EXPECT_EQ(isParentNamed(doc, "top", found), MS::kInvalidParameter);
    EXPECT_FALSE(found);
}

TEST_F(ParentsTest, ANameOnlyGuardsTheCut)
{
    MDGModifier modifier;
    EXPECT_EQ(removeParent(child, modifier, "doc"), MS::kInvalidParameter);
    EXPECT_TRUE(hasParentLink(child));
    EXPECT_EQ(removeParent(child, modifier, "top"), MS::kSuccess);
    EXPECT_FALSE(hasParentLink(child));
    EXPECT_EQ(links(top, "FromChild").size(), 0u);

    takeOutput();
    EXPECT_EQ(removeParent(top, modifier, ""), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "remove Parent Start\nParentName String is Empty\n");
    EXPECT_FALSE(hasParentLink(top));
    link(top, child);  // an unlinked element can be linked again
}

TEST_F(ParentsTest, NothingToCutIsInvalid)
{
    MDGModifier modifier;
    const unsigned int doItsBefore = dghost::fault::calls("doIt");
    EXPECT_EQ(removeParent(loose, modifier, ""), MS::kInvalidParameter);
    EXPECT_EQ(removeParent(doc, modifier, ""), MS::kInvalidParameter);
    EXPECT_EQ(takeOutput(), "remove Parent Start\nParentName String is Empty\n"
                            "remove Parent Start\nis Not a valid Node\n");
    EXPECT_EQ(dghost::fault::calls("doIt"), doItsBefore);
}

TEST_F(ParentsTest, FailedStepsAreLogged)
{
    // The first append is the one into the parents array.
    dghost::fault::failCall("arrayAppend", 1);
    MStringArray parentNames;
    EXPECT_EQ(getParentNames(child, parentNames), MS::kFailure);
    EXPECT_EQ(takeOutput(), "is Connected\nIterating ParentPlugs\ntop.FromChild[0]\n"
                            "Error Append(kFailure): Unexpected Internal Failure\n"
                            " # Element in ParentArray\n0\n"
                            "Error Get Parent(kFailure): Unexpected Internal Failure\n");

    // kNotFound is written only where any status but success counts.
    dghost::fault::failCall("arrayAppend", 1, MS::kNotFound);
    bool found = true;
    EXPECT_EQ(isParentNamed(child, "top", found), MS::kNotFound);
    EXPECT_FALSE(found);
    EXPECT_EQ(takeOutput(), "is Connected\nIterating ParentPlugs\ntop.FromChild[0]\n"
                            " # Element in ParentArray\n0\n"
                            "Error Get ParentNames(kNotFound): Object not found\n\n");

    MDGModifier modifier;
    dghost::fault::failCall("arrayAppend", 1);
    EXPECT_EQ(removeParent(child, modifier, "top"), MS::kFailure);
    EXPECT_EQ(takeOutput(), "remove Parent Start\nthe Length is != 0\n"
                            "is Connected\nIterating ParentPlugs\ntop.FromChild[0]\n"
                            "Error Append(kFailure): Unexpected Internal Failure\n"
                            " # Element in ParentArray\n0\n"
                            "Error Get Parent(kFailure): Unexpected Internal Failure\n"
                            "Error Get ParentNames(kFailure): Unexpected Internal Failure\n\n"
                            "Error on Is XML Parent(kFailure): Unexpected Internal Failure\n\n");
    EXPECT_TRUE(hasParentLink(child));

    dghost::fault::failCall("disconnect", 1);
    EXPECT_EQ(removeParent(child, modifier, ""), MS::kSuccess);
    EXPECT_EQ(takeOutput(), "remove Parent Start\nParentName String is Empty\n"
                            "Error Disconnecting Nodes(kFailure): Unexpected Internal Failure\n");
    EXPECT_TRUE(hasParentLink(child));
}

}  // namespace
