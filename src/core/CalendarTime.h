#pragma once

#include <ctime>

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

} // namespace setfolio
