#ifndef PLOVIX_BENCH_REPORT_BENCHFIGURES_H
#define PLOVIX_BENCH_REPORT_BENCHFIGURES_H

#include <map>
#include <string>
#include <vector>

namespace bench {
namespace report {

// The raw figures of a benchmark run, one "role preset program figure value"
// line each, the role being that of the display they were measured on, and
// their statistics over the rounds.
class BenchFigures {
public:
    // The role of the display every program runs on; the others take a few.
    static const char* const MAIN_DISPLAY;

    // A figure's median, least and greatest value; `missing` when no round
    // gave one, `unavailable` when the system answered none ("n/a").
    struct Stat {
        bool missing = true;
        bool unavailable = false;
        double median = 0;
        double least = 0;
        double greatest = 0;
    };

    // Reads the tab-separated lines of `path`; false when it cannot be read.
    bool load(const std::string& path);

    Stat stat(const std::string& preset, const std::string& program, const std::string& figure,
              const std::string& display = MAIN_DISPLAY) const;
    // The first value recorded, as written, or "".
    std::string first(const std::string& preset, const std::string& program,
                      const std::string& figure) const;

    // A number as the report prints it: whole numbers in full, others to six
    // significant digits.
    static std::string number(double value);

private:
    std::map<std::string, std::vector<std::string>> _values;
};

} // namespace report
} // namespace bench

#endif
