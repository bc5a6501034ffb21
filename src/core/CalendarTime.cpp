#include "core/CalendarTime.h"

namespace setfolio {

namespace {

// The digits text[at, at + count) as a number; nothing when any is not a digit.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

std::optional<std::time_t> MomentOfIsoTime(std::string_view iso) {
    // YYYY-MM-DDTHH:MM:SS
    const auto year = Digits(iso, 0, 4), month = Digits(iso, 5, 2), day = Digits(iso, 8, 2);
    const auto hour = Digits(iso, 11, 2), minute = Digits(iso, 14, 2), second = Digits(iso, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || iso[4] != '-' || iso[7] != '-' ||
        (iso[10] != 'T' && iso[10] != ' ') || iso[13] != ':' || iso[16] != ':' || *month < 1 ||
        *month > 12 || *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    std::size_t at = 19;
    if (at < iso.size() && iso[at] == '.') {
        ++at;
        while (at < iso.size() && iso[at] >= '0' && iso[at] <= '9')
            ++at;
    }
    int offset = 0; // seconds east of UTC
    if (at + 1 == iso.size() && iso[at] == 'Z') {
    } else if (at + 6 == iso.size() && (iso[at] == '+' || iso[at] == '-') && iso[at + 3] == ':') {
        const auto hours = Digits(iso, at + 1, 2), minutes = Digits(iso, at + 4, 2);
        if (!hours || !minutes || *hours > 23 || *minutes > 59)
            return std::nullopt;
        offset = (*hours * 60 + *minutes) * 60 * (iso[at] == '-' ? -1 : 1);
    } else {
        return std::nullopt;
    }
    const std::int64_t seconds =
        DaysFromCivil(*year, *month, *day) * 86400 + *hour * 3600 + *minute * 60 + *second - offset;
    return static_cast<std::time_t>(seconds);
}

std::string LocalMinuteText(const std::string& iso) {
    const auto moment = MomentOfIsoTime(iso);
    if (!moment)
        return iso;
    const std::tm local = LocalCalendarTime(*moment);
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : iso;
}

} // namespace setfolio
