// Filtering node sets by XML name or value.

#include "tests/tree/TreeTest.h"

#include "tree/Search.h"

namespace {

using SearchTest = TreeTest;

TEST_F(SearchTest, FiltersKeepExactMatchesInInputOrder)
{
    const MObject exact = element("exact", "item", "");
    const MObject upper = element("upper", "Item", "x");
    const MObject blank = element("blank", "item ", "");
    MObjectArray nodes;
    for (const MObject& n : {exact, document("doc"), upper, blank, attribute("item", ""), exact})
        nodes.append(n);

    MObjectArray matches(1, upper);  // cleared first
    EXPECT_EQ(filterByElementName(nodes, "item", matches), MS::kSuccess);
    EXPECT_EQ(names(matches), Names({"exact", "exact"}));
    EXPECT_EQ(filterByElementName(nodes, "Item", matches), MS::kSuccess);
    EXPECT_EQ(names(matches), Names({"upper"}));
    EXPECT_EQ(filterByElementName(nodes, "ite", matches), MS::kSuccess);
    EXPECT_EQ(matches.length(), 0u);
    EXPECT_EQ(filterByElementValue(nodes, "", matches), MS::kSuccess);
    EXPECT_EQ(names(matches), Names({"exact", "blank", "exact"}));
    EXPECT_EQ(filterByElementValue(MObjectArray(), "", matches), MS::kSuccess);
    EXPECT_EQ(matches.length(), 0u);
    EXPECT_EQ(nodes.length(), 6u);
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(SearchTest, FailedAppendIsLoggedAndTheScanGoesOn)
{
    MObjectArray nodes;
    nodes.append(element("a", "tag"));
    nodes.append(element("b", "tag"));
    MObjectArray matches;
    dghost::fault::failCall("arrayAppend", 1);
    EXPECT_EQ(filterByElementName(nodes, "tag", matches), MS::kSuccess);
    EXPECT_EQ(names(matches), Names({"b"}));
    EXPECT_EQ(takeOutput(), "Append Array(kFailure): Unexpected Internal Failure\n");
}

}  // namespace
