// The name table of the walks: numbering, repeats, and growth.

#include "tree/NameTable.h"

#include <gtest/gtest.h>

#include <string>

// Names keep the number of their first insertion through every growth of
// the table, made ahead or on the way; repeats and lookups answer it,
// absent names npos.
TEST(NameTable, NamesKeepTheirNumbersThroughGrowth)
{
    NameTable table;
    EXPECT_EQ(table.find("a"), NameTable::npos);
    const int count = 50000;
    for (int i = 0; i < count; ++i) {
        if (i % 1000 == 0)  // room made ahead now and then, as a walk does
            table.reserve(table.size() + (i % 3000 == 0 ? 5000 : 1));
        const auto placed = table.insert("node" + std::to_string(i));
        ASSERT_TRUE(placed.second) << i;
        ASSERT_EQ(placed.first, static_cast<std::size_t>(i));
    }
    EXPECT_EQ(table.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; i += 7) {
        const std::string name = "node" + std::to_string(i);
        EXPECT_EQ(table.find(name), static_cast<std::size_t>(i)) << name;
        const auto again = table.insert(name);
        EXPECT_FALSE(again.second) << name;
        EXPECT_EQ(again.first, static_cast<std::size_t>(i)) << name;
    }
    EXPECT_EQ(table.size(), static_cast<std::size_t>(count));
    for (const char* absent : {"node", "node50000", "node-1", "Node1", "node01", ""})
        EXPECT_EQ(table.find(absent), NameTable::npos) << absent;
}

// Names that share bytes, prefixes, or are empty, stay apart.
TEST(NameTable, NamesThatShareBytesStayApart)
{
    NameTable table;
    EXPECT_EQ(table.insert("ab").first, 0u);
    EXPECT_EQ(table.insert("a").first, 1u);
    EXPECT_EQ(table.insert("b").first, 2u);
    EXPECT_EQ(table.insert("").first, 3u);
    EXPECT_EQ(table.insert(std::string("a\0b", 3)).first, 4u);
    EXPECT_EQ(table.find("ab"), 0u);
    EXPECT_EQ(table.find(""), 3u);
    EXPECT_EQ(table.find(std::string("a\0b", 3)), 4u);
    EXPECT_EQ(table.find("ba"), NameTable::npos);
}
