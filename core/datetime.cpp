#include "core/datetime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "core/error.h"

namespace core {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr int64_t kEpochOffset = 25569;  // 1970-01-01 in host days
constexpr double kMsPerDay = 86400000.0;

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int table[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : table[month - 1];
}

std::optional<DateTime> DateTime::fromCivil(int year, int month, int day, int hour, int minute, int second,
                                            int msec) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        return std::nullopt;
    const double whole = static_cast<double>(daysFromCivil(year, month, day) + kEpochOffset);
    const double frac = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMsPerDay;
    return DateTime(whole >= 0 ? whole + frac : whole - frac);
}

DateTime DateTime::make(int year, int month, int day, int hour, int minute, int second, int msec) {
    auto dt = fromCivil(year, month, day, hour, minute, second, msec);
    if (!dt) throw Error("Data inválida.");
    return *dt;
}

DateTime DateTime::now() {
    using namespace std::chrono;
    const auto t = system_clock::now();
    const std::time_t tt = system_clock::to_time_t(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    const int ms = static_cast<int>(duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000);
    return make(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                tm.tm_sec > 59 ? 59 : tm.tm_sec, ms);
}

double DateTime::timeOfDay() const {
    const double f = std::fabs(days - std::trunc(days));
    return f;
}

DateTime DateTime::datePart() const { return DateTime(std::trunc(days)); }

DateTime::Civil DateTime::civil() const {
    Civil c{};
    const int64_t whole = static_cast<int64_t>(std::trunc(days));
    // Round to the millisecond so that 0.5 days reads as 12:00:00.000, not 11:59:59.999.
    int64_t ms = std::llround(timeOfDay() * kMsPerDay);
    int64_t dayShift = 0;
    if (ms >= static_cast<int64_t>(kMsPerDay)) {
        ms -= static_cast<int64_t>(kMsPerDay);
        dayShift = days >= 0 ? 1 : -1;
    }
    civilFromDays(whole + dayShift - kEpochOffset, c.year, c.month, c.day);
    c.msec = static_cast<int>(ms % 1000);
    c.second = static_cast<int>((ms / 1000) % 60);
    c.minute = static_cast<int>((ms / 60000) % 60);
    c.hour = static_cast<int>(ms / 3600000);
    const int64_t z = whole + dayShift - kEpochOffset;  // 1970-01-01 was a Thursday
    c.dayOfWeek = static_cast<int>(((z % 7 + 7) % 7 + 4) % 7) + 1;
    return c;
}

}  // namespace core
