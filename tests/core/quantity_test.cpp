// Stock quantities compared to the thousandth.
#include <gtest/gtest.h>

#include "core/quantity.h"

namespace {

TEST(Quantity, ComparesToTheThousandthRoundingHalfAwayFromZero) {
    // Binary residue does not make two quantities differ.
    EXPECT_NE(0.1 + 0.2, 0.3);
    EXPECT_TRUE(core::sameQuantity(0.1 + 0.2, 0.3));
    EXPECT_EQ(core::compareQuantity(0.3 - 0.1 - 0.2, 0), 0);
    EXPECT_EQ(core::quantityMillis(0.1 + 0.2), 300);

    // The 4th decimal rounds, as written, half away from zero; 1.0005 and 2.0005 are
    // just below the half in binary.
    EXPECT_EQ(core::quantityMillis(1.0005), 1001);
    EXPECT_EQ(core::quantityMillis(2.0005), 2001);
    EXPECT_EQ(core::quantityMillis(1.0004999), 1000);
    EXPECT_EQ(core::quantityMillis(0.0005), 1);
    EXPECT_EQ(core::quantityMillis(0.00049), 0);
    EXPECT_TRUE(core::sameQuantity(1.2344, 1.234));
    EXPECT_FALSE(core::sameQuantity(1.2345, 1.234));

    // Negatives mirror the positives.
    EXPECT_EQ(core::quantityMillis(-1.0005), -1001);
    EXPECT_EQ(core::quantityMillis(-0.0004), 0);
    EXPECT_EQ(core::quantityMillis(-2.5), -2500);
    EXPECT_EQ(core::compareQuantity(-0.001, 0), -1);
    EXPECT_EQ(core::compareQuantity(-0.0004, 0), 0);
    EXPECT_EQ(core::compareQuantity(0.001, -0.001), 1);

    // Large stock keeps its thousandths.
    EXPECT_EQ(core::quantityMillis(123456789.125), 123456789125);
    EXPECT_EQ(core::compareQuantity(50000, 49999.999), 1);
}

}  // namespace
