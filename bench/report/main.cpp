// plovix-benchreport WORK ROOT
//   Reads a benchmark run's raw figures (WORK/results.tsv) and what the run
//   was (WORK/context.tsv), both written by scripts/bench.sh, and writes
//   ROOT/docs/benchmarks.md, the chart's data and gnuplot script
//   (WORK/chart.dat, WORK/chart.gp, drawing ROOT/docs/benchmarks.png) and
//   the performance section of ROOT/README.md. Exit code 0 when all was
//   written, 1 when something could not be read or written, 2 for a bad
//   command line.
#include <cstdio>
#include <ctime>
#include <map>
#include <string>

#include "report/BenchFigures.h"
#include "report/BenchReport.h"
#include "util/Helpers.h"

namespace {

using bench::report::BenchFigures;
using bench::report::BenchReport;
using util::readFile;

bool writeFile(const std::string& path, const std::string& text) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

// "name<TAB>value" lines.
std::map<std::string, std::string> contextOf(const std::string& text) {
    std::map<std::string, std::string> context;
    for (std::string::size_type at = 0; at < text.size();) {
        std::string::size_type end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(at, end - at);
        const std::string::size_type tab = line.find('\t');
        if (tab != std::string::npos) {
            context[line.substr(0, tab)] = line.substr(tab + 1);
        }
        at = end + 1;
    }
    return context;
}

std::string utcNow(const char* format) {
    const std::time_t now = std::time(nullptr);
    char text[64] = {};
    const std::tm* utc = std::gmtime(&now);
    if (utc != nullptr) {
        std::strftime(text, sizeof text, format, utc);
    }
    return text;
}

int fail(const std::string& what) {
    std::fprintf(stderr, "plovix-benchreport: %s\n", what.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: plovix-benchreport WORK ROOT\n", stderr);
        return 2;
    }
    const std::string work = argv[1];
    const std::string root = argv[2];
    BenchFigures figures;
    std::string context;
    if (!figures.load(work + "/results.tsv") || !readFile(work + "/context.tsv", context)) {
        return fail("cannot read " + work + "/results.tsv and " + work + "/context.tsv");
    }
    const BenchReport report(figures, contextOf(context));
    const std::string picture = root + "/docs/benchmarks.png";
    if (!writeFile(root + "/docs/benchmarks.md", report.markdown(utcNow("%Y-%m-%d %H:%M UTC"))) ||
        !writeFile(work + "/chart.dat", report.chartData()) ||
        !writeFile(work + "/chart.gp", report.chartScript(work + "/chart.dat", picture))) {
        return fail("cannot write the report");
    }
    std::string readme;
    if (!readFile(root + "/README.md", readme)) {
        return fail("cannot read " + root + "/README.md");
    }
    const std::string updated =
        BenchReport::withSection(readme, report.readmeSection(utcNow("%Y-%m-%d")));
    if (updated.empty()) {
        return fail("README.md has no performance section to fill in");
    }
    if (!writeFile(root + "/README.md", updated)) {
        return fail("cannot write " + root + "/README.md");
    }
    return 0;
}
