#include <gtest/gtest.h>

#include "gui/edit_mask.h"

namespace {

TEST(EditMask, HostMasksBecomeQtMasksAndValuesComeBackAsTheFieldWantsThem) {
    // Date-time boxes keep their literals.
    const auto dt = gui::parseHostMask("!99/99/9999 99:99;1; ");
    EXPECT_EQ(dt.qtMask, "00/00/0000 00:00;_");
    EXPECT_TRUE(dt.saveLiterals);
    EXPECT_EQ(gui::maskedValue("05/12/2026 14:30", dt), "05/12/2026 14:30");
    EXPECT_EQ(gui::maskedValue("__/__/____ __:__", dt), "");  // nothing typed: empty, not literals

    // Tree codes drop their dots; a code of a shorter level comes back short.
    const auto tree = gui::parseHostMask("9.99.999;0; ");
    EXPECT_EQ(tree.qtMask, "0.00.000;_");
    EXPECT_FALSE(tree.saveLiterals);
    EXPECT_EQ(gui::maskedValue("1.02.003", tree), "102003");
    EXPECT_EQ(gui::maskedValue("1.02.___", tree), "102");

    // Required digits and letters swap letters between the two notations.
    EXPECT_EQ(gui::parseHostMask("000;0; ").qtMask, "999;_");
    EXPECT_EQ(gui::parseHostMask("l;0; ").qtMask, "a;_");
    EXPECT_EQ(gui::parseHostMask("").qtMask, "");
    EXPECT_EQ(gui::maskedValue("abc", gui::parseHostMask("")), "abc");
}

}  // namespace
