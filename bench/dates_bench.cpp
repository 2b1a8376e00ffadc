// Dates: SetDate + DecodeDate round trips against hand-written civil-day
// arithmetic and the date library's year_month_day; FormatDateTime and text
// parses against snprintf/sscanf and the date library's format/parse.

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/bench_common.h"
#include "quelt/datetime/datetime.h"

#ifdef QUELT_HAVE_DATE
#include <date/date.h>
#endif

namespace quelt::bench {
namespace {

struct Civil {
    int year, month, day, hour, minute, second;
};

const std::vector<Civil> &Dates() {
    static const std::vector<Civil> dates = [] {
        std::mt19937 random(kSeed + 2);
        std::vector<Civil> made(RecordCount());
        for (Civil &c : made) {
            c = {1900 + static_cast<int>(random() % 201), 1 + static_cast<int>(random() % 12),
                 1 + static_cast<int>(random() % 28),     static_cast<int>(random() % 24),
                 static_cast<int>(random() % 60),         static_cast<int>(random() % 60)};
        }
        return made;
    }();
    return dates;
}

void RoundTripOurs(benchmark::State &state) {
    const std::vector<Civil> &dates = Dates();
    for (auto _ : state) {
        long sum = 0;
        tdatetime t;
        for (const Civil &c : dates) {
            int day = 0, month = 0, year = 0;
            t.SetDate(c.day, c.month, c.year);
            t.DecodeDate(day, month, year);
            sum += day + month + year;
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The days_from_civil / civil_from_days algorithms written out by hand.
int DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = static_cast<unsigned>((153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1);
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int>(doe) - 719468;
}

void CivilFromDays(int z, int &y, int &m, int &d) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe) + era * 400 + (m <= 2);
}

void RoundTripBaseline(benchmark::State &state) {
    const std::vector<Civil> &dates = Dates();
    for (auto _ : state) {
        long sum = 0;
        for (const Civil &c : dates) {
            int day = 0, month = 0, year = 0;
            int days = DaysFromCivil(c.year, c.month, c.day);
            benchmark::DoNotOptimize(days);
            CivilFromDays(days, year, month, day);
            sum += day + month + year;
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The text form Parse reads back: FormatDateTime without a format.
std::vector<wstring> OurTexts() {
    std::vector<wstring> texts;
    for (unsigned i = 0; i < Scaled(100000); ++i) {
        const Civil &c = Dates()[i];
        wchar buffer[64];
        int size = 64;
        tdatetime(c.day, c.month, c.year, c.hour, c.minute, c.second, 0)
            .FormatDateTime(nullptr, buffer, size);
        texts.emplace_back(buffer);
    }
    return texts;
}

void FormatOurs(benchmark::State &state) {
    const unsigned count = Scaled(100000);
    std::vector<tdatetime> values;
    for (unsigned i = 0; i < count; ++i) {
        const Civil &c = Dates()[i];
        values.emplace_back(c.day, c.month, c.year, c.hour, c.minute, c.second, 0);
    }
    for (auto _ : state) {
        long length = 0;
        for (const tdatetime &t : values) {
            wchar buffer[64];
            int size = 64;
            t.FormatDateTime(nullptr, buffer, size);
            length += size;
        }
        benchmark::DoNotOptimize(length);
    }
}

void ParseOurs(benchmark::State &state) {
    const std::vector<wstring> texts = OurTexts();
    for (auto _ : state) {
        double sum = 0;
        for (const wstring &text : texts) sum += tdatetime(text.c_str()).GetDateTime();
        benchmark::DoNotOptimize(sum);
    }
}

void FormatBaseline(benchmark::State &state) {
    const unsigned count = Scaled(100000);
    const std::vector<Civil> &dates = Dates();
    for (auto _ : state) {
        long length = 0;
        for (unsigned i = 0; i < count; ++i) {
            const Civil &c = dates[i];
            char buffer[64];
            length += std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month,
                                    c.day, c.hour, c.minute, c.second);
        }
        benchmark::DoNotOptimize(length);
    }
}

std::vector<std::string> IsoTexts() {
    std::vector<std::string> texts;
    for (unsigned i = 0; i < Scaled(100000); ++i) {
        const Civil &c = Dates()[i];
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                      c.minute, c.second);
        texts.emplace_back(buffer);
    }
    return texts;
}

void ParseBaseline(benchmark::State &state) {
    const std::vector<std::string> texts = IsoTexts();
    for (auto _ : state) {
        long sum = 0;
        for (const std::string &text : texts) {
            Civil c{};
            if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &c.year, &c.month, &c.day, &c.hour, &c.minute,
                            &c.second) == 6) {
                sum += DaysFromCivil(c.year, c.month, c.day) + c.hour + c.minute + c.second;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

#ifdef QUELT_HAVE_DATE
void RoundTripPeer(benchmark::State &state) {
    const std::vector<Civil> &dates = Dates();
    for (auto _ : state) {
        long sum = 0;
        for (const Civil &c : dates) {
            date::sys_days days = date::year{c.year} / c.month / c.day;
            benchmark::DoNotOptimize(days);
            const date::year_month_day ymd{days};
            sum += static_cast<int>(ymd.year()) + static_cast<int>(static_cast<unsigned>(ymd.month())) +
                   static_cast<int>(static_cast<unsigned>(ymd.day()));
        }
        benchmark::DoNotOptimize(sum);
    }
}

date::sys_seconds TimePoint(const Civil &c) {
    return date::sys_days(date::year{c.year} / c.month / c.day) + std::chrono::hours(c.hour) +
           std::chrono::minutes(c.minute) + std::chrono::seconds(c.second);
}

void FormatPeer(benchmark::State &state) {
    const unsigned count = Scaled(100000);
    const std::vector<Civil> &dates = Dates();
    for (auto _ : state) {
        long length = 0;
        for (unsigned i = 0; i < count; ++i)
            length += static_cast<long>(date::format("%F %T", TimePoint(dates[i])).size());
        benchmark::DoNotOptimize(length);
    }
}

void ParsePeer(benchmark::State &state) {
    const std::vector<std::string> texts = IsoTexts();
    for (auto _ : state) {
        long sum = 0;
        for (const std::string &text : texts) {
            std::istringstream in(text);
            date::sys_seconds tp;
            in >> date::parse("%F %T", tp);
            sum += tp.time_since_epoch().count();
        }
        benchmark::DoNotOptimize(sum);
    }
}
#endif

void Register() {
    const int iterations = Quick() ? 20 : 3;
    auto add = [iterations](const char *name, void (*fn)(benchmark::State &)) {
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(iterations);
    };
    add("date_roundtrip/ours", RoundTripOurs);
    add("date_roundtrip/baseline", RoundTripBaseline);
    add("date_format/ours", FormatOurs);
    add("date_format/baseline", FormatBaseline);
    add("date_parse/ours", ParseOurs);
    add("date_parse/baseline", ParseBaseline);
#ifdef QUELT_HAVE_DATE
    add("date_roundtrip/peer_date", RoundTripPeer);
    add("date_format/peer_date", FormatPeer);
    add("date_parse/peer_date", ParsePeer);
#endif
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
