#include "report/BenchReport.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include "picture/PictureLayout.h"
#include "timeouts/Timeouts.h"

namespace bench {
namespace report {

namespace {

using picture::PictureLayout;

const char* const PROGRAMS[] = {"saver", "polling", "blocking", "switching"};
// The roles of the Xorg screens that really switch, with one monitor and
// with two; the context names the display of each role measured.
const char* const SWITCH = "switch";
const char* const MONITORS = "monitors";

std::string printed(const char* format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// The picture's size, "800×600"; a point of it, "(x,y)".
const std::string PICTURE_SIZE = printed("%d×%d", PictureLayout::WIDTH, PictureLayout::HEIGHT);
std::string pointOf(const PictureLayout::Point& point) {
    return printed("(%d,%d)", point.x, point.y);
}
// One of its blues as "3939DE", as gnuplot takes a colour.
std::string hexOf(const PictureLayout::Rgb& rgb) {
    return printed("%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
}
const std::string BLINK_LABEL =
    printed("Blink interval (ms; the timer asks for %u)", PictureLayout::BLINK_PERIOD_MS);
const std::string SWITCH_LABEL = "Switching to " + PICTURE_SIZE + " (ms)";
const std::string WITHIN_WAIT_LABEL =
    printed("Runs that did not end within %d s of the key", timeouts::WAIT_MS / 1000);

struct Figure {
    const char* name;
    const char* label;
    int decimals;
    double scale;
    // Only the saver has or does it: the display-mode calls are timed by the
    // driver itself, making the same calls the saver makes.
    bool saverOnly;
};

const Figure FIGURES[] = {
    {"cpu_pct", "Idle CPU, program + wineserver (% of one core)", 2, 1, false},
    {"cpu_program_pct", "… of which the program", 2, 1, false},
    {"cpu_server_pct", "… of which the wineserver", 2, 1, false},
    {"wakeups_per_s", "Wakeups per second", 1, 1, false},
    {"first_frame_ms", "First complete picture (ms from start)", 0, 1, false},
    {"turns_first_frame_ms", "… in turns of the saver and reference (c) alone", 0, 1, false},
    {"exit_key_ms", "Exit after a key (ms)", 0, 1, false},
    {"exit_click_ms", "Exit after a click (ms)", 0, 1, false},
    {"blink_interval_ms", BLINK_LABEL.c_str(), 1, 1, false},
    {"blink_jitter_ms", "Blink jitter (ms, standard deviation)", 1, 1, false},
    {"blink_sample_ms", "Blink sampling step (ms)", 1, 1, false},
    {"peak_working_set_kib", "Peak working set (MiB)", 1, 1024, false},
    {"handles", "Handles (GetProcessHandleCount)", 0, 1, false},
    {"listed_handles", "Handles in the system's handle list", 0, 1, false},
    {"gdi_objects", "GDI objects (GetGuiResources)", 0, 1, false},
    {"user_objects", "USER objects (GetGuiResources)", 0, 1, false},
    {"size_kib", "File size (KiB)", 0, 1, false},
    {"resources_kib", "… of which resources: pictures, icon, version (KiB)", 0, 1, true},
    {"display_read_ms", "Reading the display mode (ms)", 0, 1, true},
    {"display_switch_ms", SWITCH_LABEL.c_str(), 0, 1, true},
    {"display_restore_ms", "Putting the mode back after 3 s (ms)", 0, 1, true},
};

const char* const CHARTED[] = {"cpu_pct", "wakeups_per_s", "first_frame_ms", "exit_key_ms",
                               "exit_click_ms"};

std::string firstWord(const std::string& text) {
    return text.substr(0, text.find(' '));
}

// The text before the first full stop: a median cut to whole units.
std::string wholeUnits(const std::string& text) {
    return text.substr(0, text.find('.'));
}

double numberOf(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

} // namespace

BenchReport::BenchReport(const BenchFigures& figures, std::map<std::string, std::string> context)
    : _figures(figures)
    , _contextValues(std::move(context)) {
    const std::string presets = _context("presets");
    for (std::string::size_type at = 0; at < presets.size();) {
        const std::string::size_type blank = presets.find(' ', at);
        const std::string::size_type end = blank == std::string::npos ? presets.size() : blank;
        if (end > at) {
            _presets.push_back(presets.substr(at, end - at));
        }
        at = end + 1;
    }
}

std::string BenchReport::_display(const char* role) const {
    const std::string name = _context(std::string("display_") + role);
    return name.empty() ? std::string("(not measured)") : "`" + name + "`";
}

std::string BenchReport::_context(const std::string& name) const {
    const auto found = _contextValues.find(name);
    return found == _contextValues.end() ? std::string() : found->second;
}

int BenchReport::_number(const std::string& name) const {
    return std::atoi(_context(name).c_str());
}

std::string BenchReport::_rounds() const {
    const int rounds = _number("rounds");
    return rounds == 1 ? "1 round" : printed("%d rounds", rounds);
}

std::string BenchReport::_cell(const std::string& preset, const std::string& program,
                               const std::string& figure, int decimals, double scale,
                               const std::string& display) const {
    const BenchFigures::Stat stat = _figures.stat(preset, program, figure, display);
    if (stat.missing) {
        return "not measured";
    }
    if (stat.unavailable) {
        return "n/a";
    }
    if (stat.least == stat.greatest) {
        return printed("%.*f", decimals, stat.median / scale);
    }
    return printed("%.*f (%.*f–%.*f)", decimals, stat.median / scale, decimals, stat.least / scale,
                   decimals, stat.greatest / scale);
}

std::string BenchReport::_median(const std::string& preset, const std::string& program,
                                 const std::string& figure, int decimals,
                                 const std::string& display) const {
    return firstWord(_cell(preset, program, figure, decimals, 1, display));
}

std::string BenchReport::_ratio(const std::string& preset, const std::string& figure,
                                const std::string& reference, const std::string& display,
                                int decimals) const {
    return _quotient(_figures.stat(preset, "saver", figure, display),
                     _figures.stat(preset, reference, figure, display), decimals);
}

std::string BenchReport::_quotient(const BenchFigures::Stat& over, const BenchFigures::Stat& under,
                                   int decimals) {
    if (over.missing || under.missing || over.unavailable || under.unavailable ||
        under.median == 0) {
        return "–";
    }
    return printed("%.*f×", decimals, over.median / under.median);
}

std::string BenchReport::_table(const std::string& preset) const {
    std::string table =
        "| " + preset +
        " | saver | reference (a) | reference (b) | reference (c) | saver ÷ (b) | saver ÷ (c) |\n" +
        "| --- | --- | --- | --- | --- | --- | --- |\n";
    for (const Figure& figure : FIGURES) {
        const std::string saver =
            _cell(preset, "saver", figure.name, figure.decimals, figure.scale);
        if (figure.saverOnly) {
            table += "| " + std::string(figure.label) + " | " + saver + " | – | – | – | – | – |\n";
            continue;
        }
        table += "| " + std::string(figure.label) + " | " + saver + " | " +
                 _cell(preset, "polling", figure.name, figure.decimals, figure.scale) + " | " +
                 _cell(preset, "blocking", figure.name, figure.decimals, figure.scale) + " | " +
                 _cell(preset, "switching", figure.name, figure.decimals, figure.scale) + " | " +
                 _ratio(preset, figure.name) + " | " + _ratio(preset, figure.name, "switching") +
                 " |\n";
    }
    return table;
}

std::string BenchReport::_head(const std::string& first,
                               const std::vector<std::string>& titles) const {
    std::string header = "| " + first + " |";
    std::string rule = "| --- |";
    for (const std::string& preset : _presets) {
        for (const std::string& title : titles) {
            header += " " + (title.empty() ? preset : preset + " " + title) + " |";
            rule += " --- |";
        }
    }
    return header + "\n" + rule + "\n";
}

std::string BenchReport::_screenTable(const char* display, const char* reference,
                                      const std::string& letter) const {
    std::string table = _head("", {"saver", "reference " + letter, "saver ÷ " + letter});
    for (const Figure& figure : FIGURES) {
        // Only some figures are measured there.
        if (std::none_of(_presets.begin(), _presets.end(), [&](const std::string& preset) {
                return !_figures.stat(preset, "saver", figure.name, display).missing;
            })) {
            continue;
        }
        table += "| " + std::string(figure.label) + " |";
        for (const std::string& preset : _presets) {
            table += " " +
                     _cell(preset, "saver", figure.name, figure.decimals, figure.scale, display) +
                     " | " +
                     (figure.saverOnly ? std::string("–")
                                       : _cell(preset, reference, figure.name, figure.decimals,
                                               figure.scale, display)) +
                     " | " + _ratio(preset, figure.name, reference, display) + " |";
        }
        table += "\n";
    }
    return table;
}

std::string BenchReport::_goals() const {
    using Medians = std::function<double(const char* program, const char* figure)>;
    struct Goal {
        std::string label;
        std::function<bool(const Medians&)> met;
        std::function<std::string(const std::string& preset)> text;
        const char* display = BenchFigures::MAIN_DISPLAY;
    };
    const auto firstPicture = [](const char* reference) {
        return [reference](const Medians& m) {
            return m("saver", "turns_first_frame_ms") <= 1.1 * m(reference, "turns_first_frame_ms");
        };
    };
    const auto firstPictureText = [this](const char* display, const char* reference = "switching") {
        return [this, display, reference](const std::string& preset) {
            return _ratio(preset, "turns_first_frame_ms", reference, display, 2) + " (" +
                   _median(preset, "saver", "turns_first_frame_ms", 0, display) + " against " +
                   _median(preset, reference, "turns_first_frame_ms", 0, display) + " ms)";
        };
    };
    // The idle figures on two monitors, against reference (d)'s.
    const auto likeMonitors = [](const char* figure) {
        return [figure](const Medians& m) {
            return m("saver", figure) <= 1.3 * m("monitors", figure);
        };
    };
    const auto monitorsText = [this](const char* figure, int decimals) {
        return [this, figure, decimals](const std::string& preset) {
            return _ratio(preset, figure, "monitors", MONITORS, 2) + " (" +
                   _median(preset, "saver", figure, decimals, MONITORS) + " against " +
                   _median(preset, "monitors", figure, decimals, MONITORS) + ")";
        };
    };
    const auto exitText = [this](const char* figure) {
        return [this, figure](const std::string& preset) {
            const auto median = [&](const char* program) {
                const BenchFigures::Stat stat = _figures.stat(preset, program, figure);
                return stat.missing       ? std::string()
                       : stat.unavailable ? std::string("n/a")
                                          : wholeUnits(BenchFigures::number(stat.median));
            };
            return median("saver") + " against " + median("blocking") + " ms";
        };
    };
    const Goal goals[] = {
        {"Idle CPU ≤ 1.3× reference (b)",
         [](const Medians& m) { return m("saver", "cpu_pct") <= 1.3 * m("blocking", "cpu_pct"); },
         [this](const std::string& preset) {
             return _ratio(preset, "cpu_pct", "blocking", BenchFigures::MAIN_DISPLAY, 2);
         }},
        {"≤ 5 wakeups per second idle",
         [](const Medians& m) { return m("saver", "wakeups_per_s") <= 5; },
         [this](const std::string& preset) {
             return _median(preset, "saver", "wakeups_per_s", 1);
         }},
        {"First picture ≤ 1.1× reference (c)'s in turns, Xvfb " +
             _display(BenchFigures::MAIN_DISPLAY),
         firstPicture("switching"), firstPictureText(BenchFigures::MAIN_DISPLAY)},
        {"First picture ≤ 1.1× reference (c)'s in turns, Xorg " + _display(SWITCH) + " → " +
             PICTURE_SIZE,
         firstPicture("switching"), firstPictureText(SWITCH), SWITCH},
        {"Two monitors: idle CPU ≤ 1.3× reference (d)", likeMonitors("cpu_pct"),
         monitorsText("cpu_pct", 2), MONITORS},
        {"Two monitors: wakeups ≤ 1.3× reference (d)'s", likeMonitors("wakeups_per_s"),
         monitorsText("wakeups_per_s", 1), MONITORS},
        {"Two monitors: first picture ≤ 1.1× reference (d)'s in turns", firstPicture("monitors"),
         firstPictureText(MONITORS, "monitors"), MONITORS},
        {"Exit after a key ≤ reference (b)'s + 30 ms",
         [](const Medians& m) {
             return m("saver", "exit_key_ms") <= m("blocking", "exit_key_ms") + 30;
         },
         exitText("exit_key_ms")},
        {"Exit after a click ≤ reference (b)'s + 30 ms",
         [](const Medians& m) {
             return m("saver", "exit_click_ms") <= m("blocking", "exit_click_ms") + 30;
         },
         exitText("exit_click_ms")},
        {printed("Blink interval %u ± 10 ms", PictureLayout::BLINK_PERIOD_MS),
         [](const Medians& m) {
             const double period = PictureLayout::BLINK_PERIOD_MS;
             return std::abs(m("saver", "blink_interval_ms") - period) <= 10;
         },
         [this](const std::string& preset) {
             return _median(preset, "saver", "blink_interval_ms", 1);
         }},
        {"`Plovix.scr` ≤ 350 KiB", [](const Medians& m) { return m("saver", "size_kib") <= 350; },
         [this](const std::string& preset) { return _median(preset, "saver", "size_kib", 0); }},
    };
    std::string text = _head("Goal", {""});
    for (const Goal& goal : goals) {
        text += "| " + goal.label + " |";
        for (const std::string& preset : _presets) {
            if (_figures.stat(preset, "saver", "first_frame_ms", goal.display).missing) {
                text += " not measured |";
                continue;
            }
            const Medians medians = [&](const char* program, const char* figure) {
                const BenchFigures::Stat stat =
                    _figures.stat(preset, program, figure, goal.display);
                return stat.missing || stat.unavailable ? 0.0 : stat.median;
            };
            text += " " + goal.text(preset) + ": " + (goal.met(medians) ? "met" : "**gap**") + " |";
        }
        text += "\n";
    }
    if (_number("soak_minutes") > 0) {
        text += "| No growth after the first minute of a long run |";
        for (const std::string& preset : _presets) {
            // The growth after the first minute of the working set (KiB) and of
            // both handle counts.
            long growth[3] = {};
            bool measured = true;
            const char* const soaked[] = {"soak_working_set_kib", "soak_handles",
                                          "soak_listed_handles"};
            for (int i = 0; i < 3; ++i) {
                long first = 0;
                long last = 0;
                measured =
                    measured && std::sscanf(_figures.first(preset, "saver", soaked[i]).c_str(),
                                            "%ld %ld", &first, &last) == 2;
                growth[i] = last - first;
            }
            if (!measured) {
                text += " not measured |";
                continue;
            }
            text += printed(" %ld KiB, %ld + %ld handles: %s |", growth[0], growth[1], growth[2],
                            growth[0] <= 0 && growth[1] <= 0 && growth[2] <= 0 ? "met" : "**gap**");
        }
        text += "\n";
    }
    return text;
}

std::string BenchReport::_gaps() const {
    const std::string preset = _presets.empty() ? std::string() : _presets.back();
    const auto median = [&](const char* program, const char* figure) {
        const BenchFigures::Stat stat = _figures.stat(preset, program, figure);
        return stat.missing ? std::string() : printed("%.0f", stat.unavailable ? 0.0 : stat.median);
    };
    const auto difference = [&](const char* figure) {
        return BenchFigures::number(numberOf(median("saver", figure)) -
                                    numberOf(median("blocking", figure)));
    };
    const long code = std::atol(median("saver", "size_kib").c_str()) -
                      std::atol(median("saver", "resources_kib").c_str());
    const auto onDisplay = [&](const char* display) {
        return [this, &preset, display](const char* program, const char* figure, int decimals = 0) {
            const BenchFigures::Stat stat = _figures.stat(preset, program, figure, display);
            return stat.missing ? std::string("–") : printed("%.*f", decimals, stat.median);
        };
    };
    const auto onXorg = onDisplay(SWITCH);
    const auto spread = [&](const char* program) {
        const BenchFigures::Stat stat = _figures.stat(preset, program, "turns_first_frame_ms");
        return stat.missing ? std::string("–") : printed("%.0f–%.0f", stat.least, stat.greatest);
    };
    const auto onTwoMonitors = onDisplay(MONITORS);
    return "Where the gaps come from (figures of " + preset + "):\n\n" +
           "- **First picture.** Before its window appears the saver reads the display mode and\n"
           "  switches it to " +
           PICTURE_SIZE +
           "; reference (b) does neither and loads no picture. The "
           "driver,\n  making the same calls, timed them at " +
           median("saver", "display_read_ms") + " ms + " + median("saver", "display_switch_ms") +
           " ms on the Xvfb (" + onXorg("saver", "display_read_ms") + " ms + " +
           onXorg("saver", "display_switch_ms") +
           " ms on Xorg),\n  against a difference to reference (b) of " +
           difference("first_frame_ms") +
           " ms. Reference (c) makes those calls and paints the same\n  picture. Started in "
           "turns with it, each start right after one of the other's, the\n  saver's first "
           "picture takes " +
           _ratio(preset, "turns_first_frame_ms", "switching") + " (c)'s on the Xvfb and " +
           _ratio(preset, "turns_first_frame_ms", "switching", SWITCH) +
           " on the Xorg screen that really\n  switches; on the Xvfb single starts ranged over " +
           spread("saver") + " ms for the saver and\n  " + spread("switching") +
           " ms for (c), so a few tens of milliseconds between the medians are within\n  what "
           "the turns can tell apart. Outside the turns, where (c) follows "
           "reference (b) and the saver follows (c),\n  the same two gave " +
           median("saver", "first_frame_ms") + " against " + median("switching", "first_frame_ms") +
           " ms: a start's first picture depends on what ran just\n  before it, so only the "
           "turns compare the programs. Where the time of both goes is in\n  "
           "[measurements.md](measurements.md).\n"
           "- **Exit.** Before it ends the saver puts the user's mode back, which the driver "
           "timed at\n  " +
           median("saver", "display_restore_ms") +
           " ms, against a difference to reference (b) of " + difference("exit_key_ms") +
           " ms for the exit after a key;\n  reference (c) puts the mode back too (" +
           median("switching", "exit_key_ms") +
           " ms). Both exits are measured from a settled program (see\n  "
           "[measurements.md](measurements.md)).\n" +
           "- **A second monitor.** From one monitor to two the saver's idle CPU goes from " +
           onXorg("saver", "cpu_pct", 2) + " to\n  " + onTwoMonitors("saver", "cpu_pct", 2) +
           " % of a core and its wakeups from " + onXorg("saver", "wakeups_per_s", 1) + " to " +
           onTwoMonitors("saver", "wakeups_per_s", 1) + " a second, against\n  reference (d)'s " +
           onTwoMonitors("monitors", "cpu_pct", 2) + " % and " +
           onTwoMonitors("monitors", "wakeups_per_s", 1) +
           ". The saver paints the second monitor's block in the wake that\n  blinks, as (d) "
           "paints both its windows after one timer message; the Wine server's\n  requests of "
           "each blink are counted in [measurements.md](measurements.md).\n"
           "- **Wakeups.** Reference (b) waits in GetMessage and is due only 3 times a second, "
           "yet\n  wakes " +
           median("blocking", "wakeups_per_s") +
           " times a second here: Wine's own threads in every\n  program wake it. A goal of 5 is "
           "below what a blinking window reaches under Wine. The saver\n  wakes " +
           median("saver", "wakeups_per_s") +
           " times: each server request may wait for its answer, and a blink\n  makes more "
           "of them than (c)'s: the message mapper's system mutex, the default\n  handling of "
           "the paint message, the look at the monitors. Where each comes from, and\n  what "
           "savers without them woke, is in [measurements.md](measurements.md); the lock\n  "
           "and the default handling are the mapper's and the paint's as designed.\n"
           "- **Idle CPU.** The program's own share is " +
           _ratio(preset, "cpu_program_pct") +
           " reference (b)'s;\n  the rest of the difference is the wineserver's (" +
           _ratio(preset, "cpu_server_pct") + "), which answers the requests above.\n" +
           "- **File size.** Resources take " + median("saver", "resources_kib") +
           " KiB of the file, the\n  " + PICTURE_SIZE + " picture alone " +
           _context("picture_kib") +
           " KiB: a 4-bit bitmap, run-length encoded,\n  loaded by the same call as an "
           "uncompressed one. The code beside it,\n  " +
           std::to_string(code) + " KiB, compares with the references' whole file of\n  " +
           median("blocking", "size_kib") +
           " KiB, which link the same window-system library and most of the\n  same static C++ "
           "library (strings, exceptions, threads).\n";
}

std::string BenchReport::_soak() const {
    struct Row {
        const char* figure;
        const char* label;
    };
    const Row rows[] = {
        {"soak_working_set_kib", "Working set after 1 min → at the end (KiB)"},
        {"soak_listed_handles", "Handles in the system's list after 1 min → at the end"},
        {"soak_handles", "Handles (GetProcessHandleCount) after 1 min → at the end"},
        {"cycles_without_picture", "Runs without a complete picture"},
        {"cycles_not_ended", WITHIN_WAIT_LABEL.c_str()},
        {"cycles_windows_left", "Runs that left a window of the saver's class"},
        {"cycles_pictures_left", "Runs after which the picture stayed on the screen"},
        {"cycles_processes_left", "Saver processes Wine still listed after the runs"},
        {"cycles_linux_processes_left", "Saver processes Linux still had after the runs"},
    };
    std::string text = "## Long run\n\nThe saver ran " + _context("soak_minutes") +
                       " min in each build, sampled every 5 s; then " + _context("cycles") +
                       " runs\nof start, first picture and key in a row.\n\n";
    text += _head("", {""});
    for (const Row& row : rows) {
        text += "| " + std::string(row.label) + " |";
        for (const std::string& preset : _presets) {
            std::string value = _figures.first(preset, "saver", row.figure);
            long first = 0;
            long last = 0;
            if (std::string(row.figure).compare(0, 5, "soak_") == 0) {
                value = std::sscanf(value.c_str(), "%ld %ld", &first, &last) == 2
                            ? printed("%ld → %ld (%+ld)", first, last, last - first)
                            : std::string();
            }
            text += " " + (value.empty() ? std::string("not measured") : value) + " |";
        }
        text += "\n";
    }
    return text;
}

std::string BenchReport::markdown(const std::string& date) const {
    const int elapsed = _number("elapsed_seconds");
    std::string text =
        "# Benchmarks\n\n_Written by `./scripts/bench.sh` from what it measured; edit "
        "`bench/report/` rather than this page. Figures measured once, by hand, are in\n"
        "[measurements.md](measurements.md)._\n\nHow much the saver costs while it shows its "
        "picture, how fast it shows "
        "it and how fast\nit goes, beside four bare programs that blink the same " +
        printed("%d×%d block at (%d,%d) every\n%u ms", PictureLayout::CELL, PictureLayout::CELL,
                PictureLayout::CURSOR_LEFT, PictureLayout::CURSOR_TOP,
                PictureLayout::BLINK_PERIOD_MS) +
        " in a top-most window: reference (a) takes one message per "
        "pass and then\nsleeps 10 ms, as the saver's first loop did; reference (b) waits in "
        "GetMessage, the least a\nblinking window can cost; reference (c) waits the same way "
        "but first does what the saver\nmust do before its first picture: it switches the "
        "display to " +
        PICTURE_SIZE +
        " with the saver's call,\ncovers the screen and paints the saver's "
        "picture; at its end it puts the mode back. On two monitors reference (d) does what (c)\n"
        "does and puts a top-most window over every other monitor, painted as the saver's is, "
        "all\nblinking from one timer. Each cell is the median of " +
        _rounds() +
        " (each round starts every program twice, both starts counting for\nthe first picture "
        "and the blink, and the saver and reference (c), or (d) on two monitors, " +
        _context("first_picture_starts") +
        " times\nmore each, in turns, for the first picture alone), the spread (least–greatest) "
        "in\nbrackets; the programs took turns (saver, a, b, c, saver, …).\n\n- Machine: " +
        _context("machine") + "\n- Date: " + date + "; " +
        printed("%d min %d s", elapsed / 60, elapsed % 60) +
        " of measuring\n- Load average (1, 5, 15 min) before and after: " +
        _context("load_before") + "; " + _context("load_after") + "\n- Command: `" +
        _context("command") + "`\n\n## Goals\n\n" + _goals() + "\n" + _gaps();
    for (const std::string& preset : _presets) {
        text += "\n## " + preset + " on the Xvfb " + _display(BenchFigures::MAIN_DISPLAY) + "\n\n" +
                _table(preset);
    }
    text += "\n![The figures as bars: median, spread as error bars](benchmarks.png)\n";
    if (!_context(std::string("display_") + SWITCH).empty()) {
        text += "\n## On a screen that really switches\n\n" + _display(SWITCH) +
                ": Xorg with the dummy driver, which takes the switch to " + PICTURE_SIZE +
                "; only the\nsaver and reference (c) run there.\n\n" +
                _screenTable(SWITCH, "switching", "(c)");
    }
    if (!_context(std::string("display_") + MONITORS).empty()) {
        text += "\n## Two monitors\n\n" + _display(MONITORS) +
                ": an Xorg screen with a second monitor beside the first: the\nsaver covers it "
                "with a picture that blinks in step, and so does reference (d), which does\nthat "
                "and nothing else. The first picture is complete once the second monitor shows it "
                "too.\n\n" +
                _screenTable(MONITORS, "monitors", "(d)");
    }
    if (_number("soak_minutes") > 0) {
        text += "\n" + _soak();
    }
    text +=
        "\n## How each figure is measured\n\n`bench/` holds the driver (`benchdriver.exe`) and the "
        "four references, built with the\nsaver; `scripts/bench.sh` runs them under Wine on the "
        "private displays of the tests that\n`cmake/PlovixDisplays.cmake` gives it: the Xvfb " +
        _display(BenchFigures::MAIN_DISPLAY) +
        " and, as root, the Xorg screens with the dummy driver\n" + _display(SWITCH) + " and " +
        _display(MONITORS) +
        ", each with a Wine prefix of its own\n(`build/wine/bench-<display>`); it keeps every "
        "raw figure in "
        "`build/bench/results.tsv`, and\n`plovix-benchreport` (`bench/report/`) makes this page, "
        "its chart and the README's table of them.\n\n"
        "- **Idle CPU** and **wakeups**: from the Linux side, over " +
        _context("idle_seconds") +
        " s once the picture\n  is up and the blink was sampled: utime + stime in "
        "`/proc/<pid>/stat` of the program's\n  Linux process and of the prefix's wineserver "
        "(which every call into Wine's window system\n  wakes), and the voluntary context "
        "switches of all the program's threads\n  (`/proc/<pid>/task/*/status`). The prefix's "
        "own services idle meanwhile and count in the\n  wineserver's share for every program "
        "alike.\n"
        "- **First complete picture**: from just before `CreateProcess` to the first sample, "
        "taken\n  with `GetPixel` on the screen's device context, in which the border " +
        pointOf(PictureLayout::BORDER_SAMPLE) + ", the text\n  area " +
        pointOf(PictureLayout::TEXT_AREA_SAMPLE) + " and the block " +
        pointOf(PictureLayout::CURSOR_SAMPLE) +
        " have their blues, and for the saver and references (c)\n  and (d) the first letter "
        "of the banner " +
        pointOf(PictureLayout::BANNER_SAMPLE) +
        " is light; on "
        "every other monitor the same\n  points of the picture, where the saver's layout puts "
        "it, scaled as it is.\n"
        "- **First picture in turns**: each round the saver and reference (c), or (d) on two "
        "monitors,\n  start " +
        _context("first_picture_starts") +
        " times each, alternately, each start ended by a key once its picture is complete; on "
        "the screens where\n  the two are compared these starts alone decide the goal.\n"
        "- **Exit after a key or a click**: from just before `SendInput` (a space key, or a "
        "left\n  button press and release) to the end of the process; a click is measured in a "
        "start of\n  its own, once the blink has been sampled.\n"
        "- **Display mode**: the driver itself reads the current mode (`EnumDisplaySettingsA`),\n"
        "  switches to " +
        PICTURE_SIZE +
        " (`ChangeDisplaySettingsA`, `CDS_FULLSCREEN`) and, 3 s later, puts\n"
        "  the mode back (`ChangeDisplaySettingsA(NULL, 0)`), as the saver does, timing each "
        "call.\n"
        "- **Blink**: the pixel " +
        pointOf(PictureLayout::CURSOR_SAMPLE) +
        " sampled for 3 s; the mean time between two changes and its\n  standard deviation. "
        "Samples take about a millisecond, which bounds the jitter's "
        "precision.\n"
        "- **Memory and objects**: `GetProcessMemoryInfo`, `GetProcessHandleCount` and\n"
        "  `GetGuiResources` after the idle time; \"n/a\" where Wine answers 0. Wine's\n"
        "  `GetProcessHandleCount` does, so the handles are also counted in the system's handle "
        "list\n  (`NtQuerySystemInformation`), which Wine fills. Under Wine the working set is "
        "the Linux\n  process's resident memory, Wine's own libraries included.\n"
        "- **File size**: of `Plovix.scr` and of the references' `.exe`, all statically linked\n"
        "  and stripped.\n";
    return text;
}

std::string BenchReport::chartData() const {
    std::string data;
    for (const char* figure : CHARTED) {
        int x = 0;
        for (const std::string& preset : _presets) {
            for (const char* program : PROGRAMS) {
                // The saver and reference (c) are compared on their starts in turns.
                const BenchFigures::Stat turns =
                    _figures.stat(preset, program, std::string("turns_") + figure);
                const BenchFigures::Stat stat =
                    turns.missing ? _figures.stat(preset, program, figure) : turns;
                data += stat.missing || stat.unavailable
                            ? printed("%d NaN NaN NaN\n", x)
                            : printed("%d %s %s %s\n", x, BenchFigures::number(stat.median).c_str(),
                                      BenchFigures::number(stat.least).c_str(),
                                      BenchFigures::number(stat.greatest).c_str());
                ++x;
            }
            ++x;
        }
        data += "\n\n";
    }
    return data;
}

std::string BenchReport::chartScript(const std::string& dataPath,
                                     const std::string& picturePath) const {
    std::string xtics;
    int x = 0;
    for (const std::string& preset : _presets) {
        xtics += printed("\"saver\\n%s\" %d, \"ref. (a)\\n%s\" %d, \"ref. (b)\\n%s\" %d, "
                         "\"ref. (c)\\n%s\" %d, ",
                         preset.c_str(), x, preset.c_str(), x + 1, preset.c_str(), x + 2,
                         preset.c_str(), x + 3);
        x += 5;
    }
    xtics.resize(xtics.size() >= 2 ? xtics.size() - 2 : 0);
    const std::string panel =
        " using 1:2:(0.7):(colour($1)) with boxes lc rgb variable notitle, \\\n"
        "     \"\" index ";
    const std::string bars = " using 1:(spread($2, $3, $4)):3:4 with yerrorbars lc black pt 0 ps "
                             "0 notitle\n";
    return "set terminal pngcairo size 1300,820 font \"DejaVu Sans,10\"\n"
           "set output \"" +
           picturePath +
           "\"\nset multiplot layout 2,2 title \"Plovix.scr (saver) against reference (a), "
           "PeekMessage + Sleep(10), (b), GetMessage, and (c), switch + picture + GetMessage, "
           "on the Xvfb " +
           _context(std::string("display_") + BenchFigures::MAIN_DISPLAY) + ": median of " +
           _rounds() + ", bars min–max\"\nset style fill solid 0.85 border -1\nset xtics (" +
           xtics + ") nomirror\nset xrange [-0.7:" + std::to_string(x - 1) +
           ".7]\nset yrange [0:*]\nset bmargin 4\n# Only a spread gets an error bar.\n"
           "spread(median, least, greatest) = least == greatest ? NaN : median\n"
           "set grid ytics\nset key top right\n"
           "colour(x) = int(x) % 5 == 0 ? 0x" +
           hexOf(PictureLayout::DARK) + " : int(x) % 5 == 1 ? 0x" + hexOf(PictureLayout::LIGHT) +
           " : int(x) % 5 == 2 ? 0xB0B0B0 : 0x707070\n"
           "set title \"Idle CPU, program + wineserver (% of one core)\"\n"
           "plot \"" +
           dataPath + "\" index 0" + panel + "0" + bars +
           "set title \"Wakeups per second (voluntary context switches)\"\n"
           "plot \"\" index 1" +
           panel + "1" + bars +
           "set title \"First complete picture (ms from start; saver and ref. (c) in turns)\"\n"
           "plot \"\" index 2" +
           panel + "2" + bars +
           "set title \"Exit after a key and after a click (ms)\"\n"
           "plot \"\" index 3 using ($1 - 0.19):2:(0.36):(colour($1)) with boxes lc rgb variable "
           "title \"key\", \\\n"
           "     \"\" index 3 using ($1 - 0.19):(spread($2, $3, $4)):3:4 with yerrorbars lc black "
           "pt 0 ps 0 notitle, \\\n"
           "     \"\" index 4 using ($1 + 0.19):2:(0.36) with boxes fs pattern 4 lc rgb "
           "\"#" +
           hexOf(PictureLayout::DARK) +
           "\" "
           "title \"click\", \\\n"
           "     \"\" index 4 using ($1 + 0.19):(spread($2, $3, $4)):3:4 with yerrorbars lc black "
           "pt 0 ps 0 notitle\nunset multiplot\n";
}

std::string BenchReport::readmeSection(const std::string& day) const {
    std::string text =
        "Measured by `./scripts/bench.sh` on " + day + " under " + _context("wine_version") +
        ", beside a\nbare window that blinks the same block with a blocking GetMessage loop, "
        "reference (b),\nand one that before it also switches the display and paints the "
        "same picture, reference (c),\nand on two monitors covers the second as the saver does, "
        "reference (d);\nthe goals and their gaps, the tables, the method and "
        "reference (a) are in\n[docs/benchmarks.md](docs/benchmarks.md). Xvfb: " +
        _display(BenchFigures::MAIN_DISPLAY) +
        ", where the switch changes nothing; Xorg: " + _display(SWITCH) +
        ",\nwhich really switches.\n\n"
        "| build | idle CPU, saver ÷ (b) | wakeups/s, saver / (a) / (b) | first picture, saver ÷ "
        "(c), Xvfb; Xorg | two monitors: idle CPU, wakeups/s, first picture, saver ÷ (d) | exit "
        "after key / click | "
        "`Plovix.scr` |\n"
        "| --- | --- | --- | --- | --- | --- | --- |\n";
    for (const std::string& preset : _presets) {
        const BenchFigures::Stat size = _figures.stat(preset, "saver", "size_kib");
        text += "| " + preset + " | " + _ratio(preset, "cpu_pct") + " (" +
                _median(preset, "saver", "cpu_pct", 2) + " % against " +
                _median(preset, "blocking", "cpu_pct", 2) + " %) | " +
                _median(preset, "saver", "wakeups_per_s", 0) + " / " +
                _median(preset, "polling", "wakeups_per_s", 0) + " / " +
                _median(preset, "blocking", "wakeups_per_s", 0) + " | " +
                _ratio(preset, "turns_first_frame_ms", "switching") + " (" +
                _median(preset, "saver", "turns_first_frame_ms", 0) + " against " +
                _median(preset, "switching", "turns_first_frame_ms", 0) + " ms); " +
                _ratio(preset, "turns_first_frame_ms", "switching", SWITCH) + " (" +
                _median(preset, "saver", "turns_first_frame_ms", 0, SWITCH) + " against " +
                _median(preset, "switching", "turns_first_frame_ms", 0, SWITCH) + " ms) | " +
                _ratio(preset, "cpu_pct", "monitors", MONITORS) + ", " +
                _ratio(preset, "wakeups_per_s", "monitors", MONITORS) + ", " +
                _ratio(preset, "turns_first_frame_ms", "monitors", MONITORS) + " | " +
                _median(preset, "saver", "exit_key_ms", 0) + " / " +
                _median(preset, "saver", "exit_click_ms", 0) + " ms | " +
                (size.missing ? std::string() : BenchFigures::number(size.median)) + " KiB |\n";
    }
    return text + "\n![The saver against the references](docs/benchmarks.png)\n";
}

std::string BenchReport::withSection(const std::string& readme, const std::string& section) {
    const std::string start = "<!-- performance: written by ./scripts/bench.sh -->\n";
    const std::string end = "<!-- end of performance -->\n";
    const std::string::size_type from = readme.find(start);
    const std::string::size_type to =
        from == std::string::npos ? std::string::npos : readme.find(end, from);
    if (to == std::string::npos) {
        return std::string();
    }
    return readme.substr(0, from + start.size()) + section + readme.substr(to);
}

} // namespace report
} // namespace bench
