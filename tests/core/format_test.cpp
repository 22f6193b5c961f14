#include "core/format.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/treecode.h"

using namespace core;

TEST(FormatFloat, PicturesThousandsAndDecimals) {
    EXPECT_EQ(formatFloat("#,##0.000", 1234567.5), "1.234.567,500");
    EXPECT_EQ(formatFloat("#,##0.000", 0), "0,000");
    EXPECT_EQ(formatFloat("#,##0.000", 999.9996), "1.000,000");
    EXPECT_EQ(formatFloat("#,##0.00000", 12.3456789), "12,34568");
    EXPECT_EQ(formatFloat("###0.000", 1234567.5), "1234567,500");
    EXPECT_EQ(formatFloat("0.00", 0.5), "0,50");
    EXPECT_EQ(formatFloat("#,##0", 1000), "1.000");
    EXPECT_EQ(formatFloat("#.##", 0.5), ",5");
    EXPECT_EQ(formatFloat("0.0#", 1.5), "1,5");
    EXPECT_EQ(formatFloat("R$ #,##0.00", 1500), "R$ 1.500,00");
    EXPECT_EQ(formatFloat("0.00 '%'", 12.5), "12,50 %");
}

TEST(FormatFloat, NegativeNumbersAndZero) {
    EXPECT_EQ(formatFloat("#,##0.000", -1234.5), "-1.234,500");
    EXPECT_EQ(formatFloat("0.00", -0.001), "0,00");  // no "-0,00"
    EXPECT_EQ(formatFloat("0.00", -0.005), "-0,01");
    EXPECT_EQ(formatFloat("", -1.5), "-1,5");
}

TEST(FormatFloat, RoundsHalfAwayFromZeroAtTheLastDecimal) {
    // 1.0005 and 2.675 are stored just below the half; the host rounds the number as typed.
    EXPECT_EQ(formatFloat("0.000", 1.0005), "1,001");
    EXPECT_EQ(formatFloat("0.00", 2.675), "2,68");
    EXPECT_EQ(formatFloat("0.00", -2.675), "-2,68");
    EXPECT_EQ(formatFloat("0.000", 0.1 + 0.2), "0,300");
    EXPECT_EQ(formatFloat("0", 0.5), "1");
    EXPECT_EQ(formatFloat("0", -0.5), "-1");
    EXPECT_EQ(formatFloat("0.000", 1.00049), "1,000");
    EXPECT_EQ(formatFloat("#,##0.00", 999999.995), "1.000.000,00");
}

TEST(FormatFloat, EmptyPictureIsShortest) {
    EXPECT_EQ(formatFloat("", 1.5), "1,5");
    EXPECT_EQ(formatFloat("", 0.1 + 0.2), "0,3");
    EXPECT_EQ(formatFloat("", 100), "100");
    EXPECT_EQ(formatFloat("", 0), "0");
    EXPECT_EQ(formatFloat("", 0.0001), "0,0001");
    EXPECT_EQ(formatFloat("", 1e20), "1E20");
}

TEST(ParseFloat, BrazilianAndUnambiguousDot) {
    EXPECT_EQ(parseFloat("1.234,5"), 1234.5);
    EXPECT_EQ(parseFloat("1,5"), 1.5);
    EXPECT_EQ(parseFloat(" -1.234.567,25 "), -1234567.25);
    EXPECT_EQ(parseFloat("1.5"), 1.5);  // a lone dot not followed by three digits is a decimal point
    EXPECT_EQ(parseFloat("0.25"), 0.25);
    EXPECT_EQ(parseFloat("1.234"), 1234.0);  // Brazilian reading wins where both fit
    EXPECT_EQ(parseFloat("1.234.567"), 1234567.0);
    EXPECT_EQ(parseFloat(",5"), 0.5);
    EXPECT_EQ(parseFloat("42"), 42.0);
    EXPECT_EQ(parseFloat("+3"), 3.0);
    for (const char* bad : {"", " ", "abc", "1,2,3", "1.2.3", "12.34,5", "1,234.5", "1e5", "--1", "1 000",
                            ",", "-", "1.23.456"})
        EXPECT_FALSE(parseFloat(bad).has_value()) << bad;
}

TEST(ParseFloat, ADotThatCannotGroupThousandsIsTheDecimalPoint) {
    // A thousands group never follows a leading "0", an empty or a four-digit group.
    EXPECT_EQ(parseFloat("0.125"), 0.125);
    EXPECT_EQ(parseFloat("-0.125"), -0.125);
    EXPECT_EQ(parseFloat("0.000"), 0.0);
    EXPECT_EQ(parseFloat(".125"), 0.125);
    EXPECT_EQ(parseFloat("1234.567"), 1234.567);
    EXPECT_EQ(parseFloat("12.345"), 12345.0);
    EXPECT_EQ(parseFloat("123.456"), 123456.0);
    // Beside a "," or another "." the dot can only group thousands, and here cannot.
    for (const char* bad : {"0.125,5", "0.125.000", ".125,5", "1234.567,5"})
        EXPECT_FALSE(parseFloat(bad).has_value()) << bad;
}

TEST(FormatDateTime, PicturesAndDatesBefore1900) {
    const DateTime dt = DateTime::make(2024, 3, 7, 9, 5, 3);
    EXPECT_EQ(formatDateTime("ddddd hh:nn", dt), "07/03/2024 09:05");
    EXPECT_EQ(formatDateTime("dd/mm/yyyy", dt), "07/03/2024");
    EXPECT_EQ(formatDateTime("hh:nn", dt), "09:05");
    EXPECT_EQ(formatDateTime("hh:mm", dt), "09:05");  // m after an hour is minutes
    EXPECT_EQ(formatDateTime("d/m/yy", dt), "7/3/24");
    EXPECT_EQ(formatDateTime("dd 'de' mmmm", dt), "07 de março");
    EXPECT_EQ(formatDateTime("", dt), "07/03/2024 09:05:03");
    EXPECT_EQ(formatDateTime("", DateTime::make(2024, 3, 7)), "07/03/2024");

    EXPECT_EQ(formatDateTime("ddddd hh:nn", DateTime(-1.25)), "29/12/1899 06:00");
    const DateTime old = DateTime::make(1850, 5, 17, 18, 30);
    EXPECT_LT(old.days, 0);
    EXPECT_EQ(formatDateTime("ddddd hh:nn", old), "17/05/1850 18:30");
    EXPECT_EQ(formatDateTime("ddddd", DateTime(0)), "30/12/1899");
}

TEST(ParseDateTime, AcceptsAndRefuses) {
    EXPECT_EQ(parseDateTime("07/03/2024"), DateTime::make(2024, 3, 7));
    EXPECT_EQ(parseDateTime(" 7/3/2024 09:05 "), DateTime::make(2024, 3, 7, 9, 5));
    EXPECT_EQ(parseDateTime("07/03/2024 09:05:03"), DateTime::make(2024, 3, 7, 9, 5, 3));
    EXPECT_EQ(parseDateTime("29/02/2024"), DateTime::make(2024, 2, 29));
    EXPECT_EQ(parseDateTime("01/01/24"), DateTime::make(2024, 1, 1));
    EXPECT_EQ(parseDateTime("01/01/75"), DateTime::make(1975, 1, 1));
    auto old = parseDateTime("17/05/1850 18:30");
    ASSERT_TRUE(old);
    EXPECT_EQ(formatDateTime("ddddd hh:nn", *old), "17/05/1850 18:30");
    for (const char* bad : {"31/02/2024", "29/02/2023", "00/01/2024", "01/13/2024", "07/03/2024 25:00",
                            "07/03/2024 10:60", "", "abc", "07-03-2024", "07/03/202", "07/03/2024x"})
        EXPECT_FALSE(parseDateTime(bad).has_value()) << bad;

    EXPECT_DOUBLE_EQ(*parseTime("12:00"), 0.5);
    EXPECT_DOUBLE_EQ(*parseTime("06:00:00"), 0.25);
    EXPECT_FALSE(parseTime("25:00"));
    EXPECT_FALSE(parseTime("12:5"));
    EXPECT_FALSE(parseTime("12"));
}

TEST(EditMask, ApplyAndStrip) {
    const auto digits = EditMask::parse("9999999999;0; ");
    EXPECT_FALSE(digits.saveLiterals);
    EXPECT_EQ(digits.blank, ' ');
    EXPECT_EQ(digits.apply("123"), "123       ");
    EXPECT_EQ(digits.strip("123       "), "123");

    const auto cnpj = EditMask::parse("99.999.999/9999-99;0;_");
    EXPECT_EQ(cnpj.apply("12345678000195"), "12.345.678/0001-95");
    EXPECT_EQ(cnpj.strip("12.345.678/0001-95"), "12345678000195");
    EXPECT_EQ(cnpj.apply("1234"), "12.34_.___/____-__");

    const auto date = EditMask::parse("99/99/9999;1;_");
    EXPECT_TRUE(date.saveLiterals);
    EXPECT_EQ(date.apply("07/03/2024"), "07/03/2024");
    EXPECT_EQ(date.strip("07/03/2024"), "07/03/2024");
    EXPECT_EQ(date.strip("__/__/____"), "");

    const auto upper = EditMask::parse(">LL-999;0;_");
    EXPECT_EQ(upper.apply("ab123"), "AB-123");
    EXPECT_EQ(upper.strip("ab-123"), "AB123");
    EXPECT_TRUE(EditMask::parse("").empty());
}

TEST(TreeCode, PicturesAndLevels) {
    const auto& product = treePicture(0);
    EXPECT_EQ(product.picture(), "9.99.999.9999");
    EXPECT_EQ(product.levels(), 4);
    EXPECT_EQ(product.lengthToLevel(2), 3);
    EXPECT_EQ(product.lengthToLevel(4), 10);
    EXPECT_EQ(product.lengthToLevel(0), 0);
    EXPECT_EQ(product.levelOf("1"), 1);
    EXPECT_EQ(product.levelOf("102003"), 3);
    EXPECT_EQ(product.levelOf("1020030004"), 4);
    EXPECT_EQ(product.levelOf("10"), 0);
    EXPECT_EQ(product.format("102003"), "1.02.003");
    EXPECT_EQ(product.strip("1.02.003"), "102003");

    const auto& analysis = treePicture(12);
    EXPECT_EQ(analysis.picture(), "99.99.999");
    EXPECT_EQ(analysis.levelOf("0102"), 2);  // inspection: the penultimate level
    EXPECT_EQ(analysis.levelOf("0102003"), 3);
    EXPECT_EQ(analysis.format("0102003"), "01.02.003");
    EXPECT_THROW(treePicture(5), Error);
}
