// The loader's slot tables, its line texts and the marks of double-clicked lines.
#include <gtest/gtest.h>

#include "entry_tables.h"

TEST(EntryTables, LineTextNumbersWithAtLeastThreeDigits) {
    struct Case {
        int slot;
        const char* name;
        const char* line;
    } cases[] = {
        {1, "banco", "001 - banco"}, {10, "x", "010 - x"}, {42, "mi.banco", "042 - mi.banco"},
        {100, "y", "100 - y"},       {500, "", "500 - "},
    };
    for (const Case& c : cases) EXPECT_EQ(LineText(c.slot, c.name), c.line) << c.slot;
}

TEST(EntryTables, AddFillsSlotsInOrderAndStopsAtTheLast) {
    EntryTables tables;
    for (int n = 1; n <= 500; ++n) {
        auto slot = tables.Add("f" + std::to_string(n), "p" + std::to_string(n));
        ASSERT_TRUE(slot.has_value());
        ASSERT_EQ(*slot, n);
    }
    EXPECT_TRUE(tables.Full());
    EXPECT_FALSE(tables.Add("extra", "zzz").has_value());
    EXPECT_EQ(tables.Count(), 500);
    EXPECT_EQ(tables.Name(1), "f1");
    EXPECT_EQ(tables.Data(500), "p500");
    // Slots outside the tables read as empty and cannot be written.
    tables.SetMark(0, "001");
    tables.SetMark(501, "501");
    EXPECT_EQ(tables.Data(0), "");
    EXPECT_EQ(tables.Name(501), "");
    EXPECT_EQ(tables.Mark(501), "");
}

TEST(EntryTables, TextsAreCutToTheirSlotSize) {
    EntryTables tables;
    tables.Add(std::string(1030, 'n'), std::string(2060, 'd'));
    EXPECT_EQ(tables.Name(1), std::string(1024, 'n'));
    EXPECT_EQ(tables.Data(1), std::string(2049, 'd'));
    tables.SetMark(1, "12345");
    EXPECT_EQ(tables.Mark(1), "1234");
}

TEST(EntryTables, ClearEmptiesEverySlotAndCountsFromOneAgain) {
    EntryTables tables;
    tables.Add("a", "1");
    tables.Add("b", "2");
    tables.SetMark(2, "002");
    tables.Clear();
    EXPECT_EQ(tables.Count(), 0);
    EXPECT_EQ(tables.Data(2), "");
    EXPECT_EQ(tables.Mark(2), "");
    EXPECT_EQ(tables.Add("c", "3"), 1);
    EXPECT_EQ(tables.Mark(1), "");
}

TEST(EntryTables, ToggleMarkTakesTheLineNumberThenClearsIt) {
    EntryTables tables;
    tables.Add("banco", "x");
    ToggleMark(tables, 1, "001 - banco");
    EXPECT_EQ(tables.Mark(1), "001");
    ToggleMark(tables, 1, "001 - banco");
    EXPECT_EQ(tables.Mark(1), "");
}

TEST(EntryTables, MarkedLineIsOneHoldingAMarkExactlyOnce) {
    EntryTables tables;
    tables.Add("banco", "x");
    tables.Add("correo001", "y");
    tables.Add("otro", "z");
    EXPECT_FALSE(IsMarkedLine(tables, "001 - banco"));  // nothing marked yet
    tables.SetMark(1, "001");
    EXPECT_TRUE(IsMarkedLine(tables, "001 - banco"));
    EXPECT_TRUE(IsMarkedLine(tables, "002 - correo001"));  // another line naming the number once
    EXPECT_FALSE(IsMarkedLine(tables, "003 - otro"));
    EXPECT_FALSE(IsMarkedLine(tables, "001 - banco001"));  // the number twice
    tables.SetMark(1, "");
    EXPECT_FALSE(IsMarkedLine(tables, "001 - banco"));     // an empty slot never matches
}
