#ifndef PLOVIX_BENCH_REPORT_BENCHREPORT_H
#define PLOVIX_BENCH_REPORT_BENCHREPORT_H

#include <map>
#include <string>
#include <vector>

#include "report/BenchFigures.h"

namespace bench {
namespace report {

// Writes what a benchmark run found: docs/benchmarks.md with its goals,
// gaps, tables and method, the chart's data and gnuplot script, and the
// README's performance section.
class BenchReport {
public:
    // What the run was, from its context file: one "name value" line each
    // (tab-separated) of command, rounds, soak_minutes, idle_seconds, cycles,
    // elapsed_seconds, load_before, load_after, machine, wine_version,
    // presets (blank-separated), picture_kib, and display_<role>, the name
    // of the display of each role measured (main, switch, monitors).
    BenchReport(const BenchFigures& figures, std::map<std::string, std::string> context);

    std::string markdown(const std::string& date) const;
    // Five blocks of "x median least greatest" lines, one for each charted
    // figure; the script draws them from `dataPath` into `picturePath`.
    std::string chartData() const;
    std::string chartScript(const std::string& dataPath, const std::string& picturePath) const;
    std::string readmeSection(const std::string& day) const;

    // The README with its performance section, between its marker lines,
    // replaced by `section`; "" when the markers are missing.
    static std::string withSection(const std::string& readme, const std::string& section);

private:
    // "median (least–greatest)" with `decimals` decimals, each divided by
    // `scale`; "n/a" or "not measured" when there is no number.
    std::string _cell(const std::string& preset, const std::string& program,
                      const std::string& figure, int decimals, double scale = 1,
                      const std::string& display = BenchFigures::MAIN_DISPLAY) const;
    // The first word of a cell.
    std::string _median(const std::string& preset, const std::string& program,
                        const std::string& figure, int decimals,
                        const std::string& display = BenchFigures::MAIN_DISPLAY) const;
    // The saver's median over a reference's, as "N.N×" (or with more
    // decimals), or "–".
    std::string _ratio(const std::string& preset, const std::string& figure,
                       const std::string& reference = "blocking",
                       const std::string& display = BenchFigures::MAIN_DISPLAY,
                       int decimals = 1) const;
    static std::string _quotient(const BenchFigures::Stat& over, const BenchFigures::Stat& under,
                                 int decimals = 1);
    std::string _goals() const;
    std::string _gaps() const;
    // A table's first two lines: `first`, then for each build the columns
    // `titles`, each after the build's name ("" for the name alone).
    std::string _head(const std::string& first, const std::vector<std::string>& titles) const;
    std::string _table(const std::string& preset) const;
    // The saver beside `reference`, called reference `letter`, on the Xorg
    // screen of that role, which really switches.
    std::string _screenTable(const char* display, const char* reference,
                             const std::string& letter) const;
    std::string _soak() const;
    // The name of the display of that role, quoted as code.
    std::string _display(const char* role) const;
    std::string _context(const std::string& name) const;
    int _number(const std::string& name) const;
    std::string _rounds() const;

    const BenchFigures& _figures;
    std::map<std::string, std::string> _contextValues;
    std::vector<std::string> _presets;
};

} // namespace report
} // namespace bench

#endif
