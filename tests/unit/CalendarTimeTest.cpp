#include "core/CalendarTime.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

using namespace setfolio;

// Times as the program and git write them name one moment, whatever offset they carry.
TEST(CalendarTime, IsoTimesNameTheirMoment) {
    struct Case {
        std::string_view iso;
        std::optional<std::time_t> moment;
    };
    const Case cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"2026-12-10T02:53:17Z", 1796871197},
        {"2026-12-10T02:53:17.123Z", 1796871197},
        {"2026-12-10T03:53:17+01:00", 1796871197},
        {"2026-12-09T21:23:17-05:30", 1796871197},
        {"2000-02-29T12:00:00Z", 951825600},  // a leap day of a century year
        {"2100-03-01T00:00:00Z", 4107542400}, // 2100 is no leap year
        {"2026-12-10 02:53:17Z", 1796871197},
        {"2026-12-10T02:53:17", std::nullopt}, // no offset: which moment is unknown
        {"2026-12-10T02:53Z", std::nullopt},
        {"2026-13-10T02:53:17Z", std::nullopt},
        {"2026-12-10T24:00:00Z", std::nullopt},
        {"2026-12-10T02:53:17+1:00", std::nullopt},
        {"2026-12-10T02:53:17Zjunk", std::nullopt},
        {"not a time", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [iso, moment] : cases)
        EXPECT_EQ(MomentOfIsoTime(iso), moment) << iso;
}
