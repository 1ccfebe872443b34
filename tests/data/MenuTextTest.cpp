// Selector values as menu items of a real Fl_Choice: every value, markup
// characters and all, is one item, and choosing it gives the value back.
#include "db/MenuText.h"

#include <FL/Fl_Choice.H>
#include <gtest/gtest.h>

namespace {

const std::string kValues[] = {
    "E. coli", "A/B", "/usr", "a|b", "back\\slash", "_lead", "in_side",
    "R&D",     "RD",  "&",    "",    "tab\there",   "@->",   "\x01",
};

TEST(MenuValues, EachValueIsOneItemThatReadsBackUnchanged) {
    Fl_Choice choice(0, 0, 100, 20);
    choice.add("*");
    for (const std::string& value : kValues)
        addMenuValue(choice, value);
    // size() counts the terminating item too.
    ASSERT_EQ(choice.size(), 1 + static_cast<int>(std::size(kValues)) + 1);
    for (int i = 0; i < static_cast<int>(std::size(kValues)); ++i) {
        choice.value(i + 1);
        const std::optional<std::string> value = chosenMenuValue(choice);
        ASSERT_TRUE(value.has_value()) << i;
        EXPECT_EQ(*value, kValues[i]);
        EXPECT_EQ(choice.menu()[i + 1].flags & FL_SUBMENU, 0) << kValues[i];
    }
}

TEST(MenuValues, ItemsAreNotMergedAfterClear) {
    Fl_Choice choice(0, 0, 100, 20);
    addMenuValue(choice, "x");
    choice.clear();
    addMenuValue(choice, "R&D");
    addMenuValue(choice, "RD");
    ASSERT_EQ(choice.size(), 3);
    EXPECT_STREQ(choice.menu()[0].label(), "R&D");
    EXPECT_STREQ(choice.menu()[1].label(), "RD");
}

TEST(MenuValues, NoChosenItemHasNoValue) {
    Fl_Choice choice(0, 0, 100, 20);
    EXPECT_FALSE(chosenMenuValue(choice).has_value());
    addMenuValue(choice, "x");
    choice.value(-1);
    EXPECT_FALSE(chosenMenuValue(choice).has_value());
    choice.value(0);
    EXPECT_EQ(chosenMenuValue(choice), std::optional<std::string>("x"));
}

} // namespace
