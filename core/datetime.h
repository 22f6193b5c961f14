#pragma once
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace core {

// The host's date-time: days since 1899-12-30, the time of day as the fraction.
// Before the epoch the integer part counts days back and the fraction is still
// the time of day forwards (-1.25 is 29/12/1899 06:00), as the host does.
struct DateTime {
    double days = 0.0;

    constexpr DateTime() = default;
    constexpr explicit DateTime(double d) : days(d) {}

    static std::optional<DateTime> fromCivil(int year, int month, int day, int hour = 0, int minute = 0,
                                             int second = 0, int msec = 0);
    // Throws core::Error on an impossible date or time.
    static DateTime make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int msec = 0);
    static DateTime now();  // local wall clock

    struct Civil {
        int year, month, day, hour, minute, second, msec;
        int dayOfWeek;  // 1 = Sunday, as the host counts
    };
    Civil civil() const;

    DateTime datePart() const;
    double timeOfDay() const;  // 0 <= t < 1
    bool isZero() const { return days == 0.0; }
    DateTime plusDays(double n) const { return DateTime(days + n); }

    friend constexpr bool operator==(DateTime a, DateTime b) { return a.days == b.days; }
    friend constexpr auto operator<=>(DateTime a, DateTime b) { return a.days <=> b.days; }
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

}  // namespace core
