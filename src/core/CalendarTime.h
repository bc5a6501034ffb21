#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// A moment broken down into the calendar, without the shared buffer of std::localtime and
// std::gmtime (threads run side by side); the reentrant calls are spelled differently on Windows.
inline std::tm LocalCalendarTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return local;
}

inline std::tm UtcCalendarTime(std::time_t moment) {
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &moment);
#else
    gmtime_r(&moment, &utc);
#endif
    return utc;
}

// The moment an ISO 8601 time with its offset names ("2026-12-10T02:53:17.123Z",
// "2026-12-10T03:53:17+01:00", as the program and git write them); nothing for other text.
std::optional<std::time_t> MomentOfIsoTime(std::string_view iso);

// Such a time as "2026-12-10 02:53" in this computer's time zone, so that times from the
// program and from git show alike; another text as it is.
std::string LocalMinuteText(const std::string& iso);

} // namespace setfolio
