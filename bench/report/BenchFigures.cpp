#include "report/BenchFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace bench {
namespace report {

namespace {

std::string keyOf(const std::string& display, const std::string& preset, const std::string& program,
                  const std::string& figure) {
    return display + '\t' + preset + '\t' + program + '\t' + figure;
}

// The number as printed and read back: the statistics work on what the
// report shows.
double shown(double value) {
    return std::strtod(BenchFigures::number(value).c_str(), nullptr);
}

} // namespace

bool BenchFigures::load(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) {
        return false;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, in) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        const std::string::size_type last = text.rfind('\t');
        if (last != std::string::npos) {
            _values[text.substr(0, last)].push_back(text.substr(last + 1));
        }
    }
    return std::fclose(in) == 0;
}

const char* const BenchFigures::MAIN_DISPLAY = "main";

BenchFigures::Stat BenchFigures::stat(const std::string& preset, const std::string& program,
                                      const std::string& figure, const std::string& display) const {
    Stat result;
    const auto found = _values.find(keyOf(display, preset, program, figure));
    if (found == _values.end()) {
        return result;
    }
    std::vector<double> values;
    for (const std::string& value : found->second) {
        if (value != "n/a") {
            values.push_back(std::strtod(value.c_str(), nullptr));
        }
    }
    result.missing = false;
    if (values.empty()) {
        result.unavailable = true;
        return result;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    result.median = shown(median);
    result.least = shown(values.front());
    result.greatest = shown(values.back());
    return result;
}

std::string BenchFigures::first(const std::string& preset, const std::string& program,
                                const std::string& figure) const {
    const auto found = _values.find(keyOf(MAIN_DISPLAY, preset, program, figure));
    return found == _values.end() || found->second.empty() ? std::string() : found->second[0];
}

std::string BenchFigures::number(double value) {
    char text[64];
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
    } else {
        std::snprintf(text, sizeof text, "%.6g", value);
    }
    return text;
}

} // namespace report
} // namespace bench
