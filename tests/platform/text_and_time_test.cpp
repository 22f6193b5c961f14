#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/error.h"
#include "platform/services.h"

using namespace platform;
using core::DateTime;

TEST(Ajusta, TypedCodesMeetTheStoredOnes) {
    EXPECT_EQ(Ajusta("7", 4), "0007");
    EXPECT_EQ(Ajusta("0007", 4), "0007");
    EXPECT_EQ(Ajusta(" 7 ", 4), "0007");
    EXPECT_EQ(Ajusta("1234", 4), "1234");
    // Too long or not a number: trimmed, otherwise as typed, so the lookup fails visibly.
    EXPECT_EQ(Ajusta("12345", 4), "12345");
    EXPECT_EQ(Ajusta(" A7 ", 4), "A7");
    EXPECT_EQ(Ajusta("7-1", 6), "7-1");
    EXPECT_EQ(Ajusta("", 4), "");
    EXPECT_EQ(Ajusta("   ", 4), "");
}

TEST(TextHelpers, BlanksTrimRepeatRound) {
    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString(" \t "));
    EXPECT_FALSE(EmptyString(" a "));
    EXPECT_EQ(AllTrim("  Análise \t"), "Análise");
    EXPECT_EQ(Replicate("ab", 3), "ababab");
    EXPECT_EQ(Replicate("x", 0), "");
    EXPECT_EQ(Replicate("x", -2), "");
    EXPECT_DOUBLE_EQ(RoundDec(1.005, 2), 1.01);  // binary 1.00499999... still rounds up
    EXPECT_DOUBLE_EQ(RoundDec(-2.5, 0), -3.0);
    EXPECT_DOUBLE_EQ(RoundDec(0.1 + 0.2, 3), 0.3);
    EXPECT_DOUBLE_EQ(RoundDec(1234.56789, 3), 1234.568);
    EXPECT_DOUBLE_EQ(RoundDec(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(RoundDec(0.125, 2), 0.13);
}

TEST(ElapsedTime, SubtDataHoraAcrossMidnightAndMonths) {
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 3, 10, 8, 0), DateTime::make(2024, 3, 10, 9, 30)), "1:30");
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 3, 10, 23, 45), DateTime::make(2024, 3, 11, 0, 15)), "0:30");
    // Leap February into March: 29/02 22:00 to 01/03 02:05.
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 2, 29, 22, 0), DateTime::make(2024, 3, 1, 2, 5)), "4:05");
    EXPECT_EQ(SubtDataHora(DateTime::make(2023, 12, 31, 12, 0), DateTime::make(2024, 1, 2, 13, 1)), "49:01");
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 1, 1, 10, 0), DateTime::make(2024, 1, 1, 10, 0)), "0:00");
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 1, 1, 10, 0), DateTime::make(2024, 1, 1, 8, 30)), "-1:30");
    // Seconds round to the nearest minute.
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 1, 1, 10, 0, 0), DateTime::make(2024, 1, 1, 10, 0, 31)),
              "0:01");
    EXPECT_EQ(SubtDataHora(DateTime::make(2024, 1, 1, 10, 0, 0), DateTime::make(2024, 1, 1, 10, 0, 29)),
              "0:00");
}

TEST(ElapsedTime, HoursTextRoundTrip) {
    EXPECT_EQ(RealToStTime(1.5), "1:30");
    EXPECT_EQ(RealToStTime(0), "0:00");
    EXPECT_EQ(RealToStTime(36.25), "36:15");
    EXPECT_EQ(RealToStTime(1.0 / 3.0), "0:20");
    EXPECT_EQ(RealToStTime(0.999), "1:00");  // 59.94 minutes round up into the hour
    EXPECT_EQ(RealToStTime(-0.5), "-0:30");
    EXPECT_DOUBLE_EQ(StTimeToReal("1:30"), 1.5);
    EXPECT_DOUBLE_EQ(StTimeToReal("36:15"), 36.25);
    EXPECT_DOUBLE_EQ(StTimeToReal(" 0:05 "), 5.0 / 60.0);
    EXPECT_DOUBLE_EQ(StTimeToReal(""), 0.0);
    EXPECT_DOUBLE_EQ(StTimeToReal("__:__"), 0.0);  // an untouched masked box
    for (const char* t : {"0:00", "1:30", "23:59", "100:01"}) EXPECT_EQ(RealToStTime(StTimeToReal(t)), t);
    for (const char* bad : {"1:75", "abc", "1:3x", "1", ":30", "1:300", "1.5"}) {
        try {
            StTimeToReal(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const core::Error& e) {
            EXPECT_NE(std::string(e.what()).find("Hora inválida"), std::string::npos) << e.what();
        }
    }
}

TEST(MaxNumber, KeysBeyondTheDigitsAbort) {
    EXPECT_NO_THROW(MaxNumber("123456", 7, 5, "7", 6, 0));
    EXPECT_THROW(MaxNumber("1234567", 7, 5, "8", 7, 0), core::Abort);
    EXPECT_NO_THROW(MaxNumber("1234567", 7, 5, ",", 7, 0));
    EXPECT_NO_THROW(MaxNumber("1234567,1234", 7, 5, "5", 12, 0));
    EXPECT_THROW(MaxNumber("1234567,12345", 7, 5, "6", 13, 0), core::Abort);
    // The selection is replaced by the key: typing over a digit keeps the count.
    EXPECT_NO_THROW(MaxNumber("1234567", 7, 5, "9", 0, 1));
    EXPECT_THROW(MaxNumber("12,5", 7, 5, ",", 4, 0), core::Abort);  // a second decimal comma
    EXPECT_THROW(MaxNumber("12", 7, 5, "a", 2, 0), core::Abort);
    EXPECT_THROW(MaxNumber("12", 7, 0, ",", 2, 0), core::Abort);  // integers only
    EXPECT_NO_THROW(MaxNumber("", 7, 5, "-", 0, 0));
    EXPECT_THROW(MaxNumber("12", 7, 5, "-", 2, 0), core::Abort);
    EXPECT_NO_THROW(MaxNumber("1234567", 7, 5, "\b", 7, 0));  // backspace always passes
    EXPECT_NO_THROW(MaxNumber("1234567", 7, 5, "Enter", 7, 0));
}

TEST(MaxNumber, ThousandsDotsAreNeitherSeparatorsNorDigits) {
    // A box showing a Brazilian number: "." groups thousands, "," is the decimal point.
    EXPECT_NO_THROW(MaxNumber("1.234,50000", 7, 5, "9", 0, 0));
    EXPECT_NO_THROW(MaxNumber("1.234,50000", 7, 5, "9", 10, 1));  // over the last decimal
    EXPECT_NO_THROW(MaxNumber("1.234.567,5", 7, 5, "9", 11, 0));
    EXPECT_THROW(MaxNumber("1.234,50000", 7, 5, "9", 11, 0), core::Abort);  // a sixth decimal
    EXPECT_THROW(MaxNumber("1.234.567,5", 7, 5, "9", 0, 0), core::Abort);   // an eighth digit
    EXPECT_THROW(MaxNumber("1.234,5", 7, 5, ",", 7, 0), core::Abort);       // a second comma
    EXPECT_THROW(MaxNumber("1.234,5", 7, 5, ".", 7, 0), core::Abort);       // a dot among the decimals
    EXPECT_NO_THROW(MaxNumber("1234,5", 7, 5, ".", 1, 0));                  // grouping typed in
    // Integers only: a dot before three digits groups them.
    EXPECT_NO_THROW(MaxNumber("1.234", 7, 0, "5", 0, 0));
    EXPECT_THROW(MaxNumber("1.234", 7, 0, "5", 5, 0), core::Abort);  // 1.2345 has a decimal point
    EXPECT_NO_THROW(MaxNumber("1.234.56", 7, 0, "7", 8, 0));
    EXPECT_THROW(MaxNumber("1.234.567", 7, 0, "8", 0, 0), core::Abort);

    // Without a comma, a dot not starting a group of three is the decimal point.
    EXPECT_NO_THROW(MaxNumber("1.2", 7, 2, "5", 3, 0));
    EXPECT_THROW(MaxNumber("1.5", 7, 2, ".", 3, 0), core::Abort);   // a second decimal dot
    EXPECT_THROW(MaxNumber("0.12", 7, 2, "5", 4, 0), core::Abort);  // 0.125: not a thousands group
    EXPECT_THROW(MaxNumber("1.23", 3, 5, "4", 4, 0), core::Abort);  // 1.234 is four integer digits
    EXPECT_THROW(MaxNumber("12", 7, 0, ".", 2, 0), core::Abort);    // integers only
    EXPECT_NO_THROW(MaxNumber("1.234.5", 7, 5, "6", 7, 0));
}

TEST(Masks, DateAndTaxNumber) {
    EXPECT_EQ(DateMask(), "!99/99/9999;1;_");
    EXPECT_EQ(DateMask().substr(DateMask().size() - 4), ";1;_");
    EXPECT_EQ(PictPess("F"), "999.999.999-99;0;_");
    EXPECT_EQ(PictPess("J"), "99.999.999/9999-99;0;_");
    EXPECT_EQ(PictPess("X"), "");
}

TEST(TreePictures, ProductAndAnalysisLevels) {
    EXPECT_EQ(DBPict(0), "9.99.999.9999;0;_");
    EXPECT_EQ(DBPictObj(0), "9.99.999.9999");
    EXPECT_EQ(DBPict(12), "99.99.999;0;_");
    EXPECT_EQ(GetTtNiveis(0), 4);
    EXPECT_EQ(GetTtNiveis(12), 3);
    EXPECT_EQ(TamAcNivel(0, 1), 1);
    EXPECT_EQ(TamAcNivel(0, 3), 6);
    EXPECT_EQ(TamAcNivel(0, 4), 10);
    EXPECT_EQ(TamAcNivel(12, 2), 4);  // the inspection level
    EXPECT_EQ(TamAcNivel(12, 3), 7);  // the item level
    EXPECT_EQ(Nivel(0, "1"), 1);
    EXPECT_EQ(Nivel(0, "102"), 2);
    EXPECT_EQ(Nivel(0, "1.02.003"), 3);
    EXPECT_EQ(Nivel(0, "1020030004"), 4);
    EXPECT_EQ(Nivel(0, "10"), 0);
    EXPECT_EQ(Nivel(12, "0102"), 2);
    EXPECT_EQ(Nivel(12, "01.02.003"), 3);
    EXPECT_TRUE(ValidEx("PRODUTO", 0, "1.02.003.0004"));
    EXPECT_TRUE(ValidEx("INSPECAO", 12, "0102003"));
    EXPECT_TRUE(ValidEx("INSPECAO", 12, "01"));
    EXPECT_FALSE(ValidEx("PRODUTO", 0, "1.02.0"));      // between levels
    EXPECT_FALSE(ValidEx("INSPECAO", 12, "01A2"));      // not digits
    EXPECT_FALSE(ValidEx("INSPECAO", 12, "01020031"));  // longer than the picture
    EXPECT_FALSE(ValidEx("INSPECAO", 12, ""));
    EXPECT_THROW(DBPict(5), core::Error);
}
