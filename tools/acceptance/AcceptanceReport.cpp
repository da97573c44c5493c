#include "acceptance/AcceptanceReport.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "app/Program.h"

namespace tools {
namespace acceptance {

namespace {

using Outcome = KitProgram::Outcome;

// Text for XML and HTML alike. The programs print the system's code page,
// not UTF-8: anything beyond ASCII becomes '?', and control characters
// but line ends and tabs are dropped, which XML does not allow.
std::string escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            if (byte >= 0x80) {
                escaped += '?';
            } else if (byte >= 0x20 || c == '\n' || c == '\t') {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

const char* word(Outcome outcome) {
    switch (outcome) {
    case Outcome::PASSED:
        return "passed";
    case Outcome::SKIPPED:
        return "skipped";
    case Outcome::FAILED:
        break;
    }
    return "failed";
}

void closeFile(std::FILE* file) {
    std::fclose(file);
}

void writeFile(const std::string& path, const std::string& text) {
    const std::unique_ptr<std::FILE, void (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                                closeFile);
    if (!file || std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
        std::fflush(file.get()) != 0) {
        throw std::runtime_error("Could not write the report using 'fwrite'.\nFile: " + path +
                                 "\n");
    }
}

} // namespace

void AcceptanceReport::addFigures(const std::string& program,
                                  std::vector<std::pair<std::string, std::string>> figures) {
    _figures.emplace_back(program, std::move(figures));
}

void AcceptanceReport::addPicture(const std::string& title, const std::string& file) {
    _pictures.emplace_back(title, file);
}

int AcceptanceReport::failures() const {
    int count = 0;
    for (const Case& result : _cases) {
        count += result.outcome == Outcome::FAILED ? 1 : 0;
    }
    return count;
}

void AcceptanceReport::write(const std::string& junitPath, const std::string& pagePath) const {
    writeFile(junitPath, _junit());
    writeFile(pagePath, _page());
}

std::string AcceptanceReport::_junit() const {
    int skipped = 0;
    double total = 0;
    for (const Case& result : _cases) {
        skipped += result.outcome == Outcome::SKIPPED ? 1 : 0;
        total += result.seconds;
    }
    const std::string counts = "tests=\"" + std::to_string(_cases.size()) + "\" failures=\"" +
                               std::to_string(failures()) + "\" errors=\"0\" skipped=\"" +
                               std::to_string(skipped) + "\" time=\"" + seconds(total) + "\"";
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"" +
                      escape(app::APPLICATION_NAME) + " acceptance\" " + counts + ">\n" +
                      "<testsuite name=\"acceptance\" " + counts + ">\n<properties>\n";
    for (const std::string& line : _desk) {
        const std::string::size_type colon = line.find(": ");
        xml += "<property name=\"" + escape(line.substr(0, colon)) + "\" value=\"" +
               escape(line.substr(colon + 2)) + "\"/>\n";
    }
    xml += "</properties>\n";
    for (const Case& result : _cases) {
        xml += "<testcase classname=\"" + escape(result.suite) + "\" name=\"" +
               escape(result.name) + "\" time=\"" + seconds(result.seconds) + "\"";
        if (result.outcome == Outcome::PASSED) {
            xml += "/>\n";
            continue;
        }
        xml += ">\n";
        if (result.outcome == Outcome::SKIPPED) {
            xml += "<skipped message=\"" + escape(result.reason) + "\"/>\n";
        } else {
            xml += "<failure message=\"" + escape(result.reason) + "\">" + escape(result.output) +
                   "</failure>\n";
        }
        xml += "</testcase>\n";
    }
    return xml + "</testsuite>\n</testsuites>\n";
}

std::string AcceptanceReport::_page() const {
    const int failed = failures();
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        escape(app::APPLICATION_NAME) +
        " acceptance</title>\n<style>\nbody{font-family:sans-serif;margin:2em}"
        "table{border-collapse:collapse;margin-bottom:1.5em}"
        "td,th{border:1px solid #bbb;padding:.25em .6em;text-align:left;vertical-align:top}"
        ".passed{background:#e3f6e3}.failed{background:#fbdada}.skipped{background:#eee}"
        "pre{white-space:pre-wrap;margin:0}img{max-width:100%;border:1px solid #888}\n"
        "</style>\n</head>\n<body>\n<h1>" +
        escape(app::APPLICATION_NAME) + " " + escape(PLOVIX_VERSION) + ": acceptance</h1>\n<p>" +
        (failed == 0 ? std::string("Every test that ran passed.")
                     : std::to_string(failed) + " test(s) failed.") +
        "</p>\n<h2>The desk</h2>\n<ul>\n";
    for (const std::string& line : _desk) {
        html += "<li>" + escape(line) + "</li>\n";
    }
    html += "</ul>\n<h2>Tests</h2>\n<table>\n<tr><th>Suite</th><th>Test</th><th>Result</th>"
            "<th>Seconds</th><th>Why</th></tr>\n";
    for (const Case& result : _cases) {
        const char* outcome = word(result.outcome);
        html += std::string("<tr class=\"") + outcome + "\"><td>" + escape(result.suite) +
                "</td><td>" + escape(result.name) + "</td><td>" + outcome + "</td><td>" +
                seconds(result.seconds) + "</td><td><pre>" +
                escape(result.outcome == Outcome::FAILED ? result.output : result.reason) +
                "</pre></td></tr>\n";
    }
    html += "</table>\n";
    if (!_figures.empty()) {
        html += "<h2>Figures</h2>\n<p>Times in milliseconds, memory in KiB, the processor in "
                "per cent of one; each program measured the same way.</p>\n<table>\n"
                "<tr><th>Figure</th>";
        for (const auto& program : _figures) {
            html += "<th>" + escape(program.first) + "</th>";
        }
        html += "</tr>\n";
        for (const auto& figure : _figures.front().second) {
            html += "<tr><td>" + escape(figure.first) + "</td>";
            for (const auto& program : _figures) {
                std::string value = "-";
                for (const auto& measured : program.second) {
                    value = measured.first == figure.first ? measured.second : value;
                }
                html += "<td>" + escape(value) + "</td>";
            }
            html += "</tr>\n";
        }
        html += "</table>\n";
    }
    if (!_pictures.empty()) {
        html += "<h2>Pictures</h2>\n";
        for (const auto& picture : _pictures) {
            html += "<h3>" + escape(picture.first) + "</h3>\n<p><img src=\"" +
                    escape(picture.second) + "\" alt=\"" + escape(picture.first) + "\"></p>\n";
        }
    }
    return html + "</body>\n</html>\n";
}

} // namespace acceptance
} // namespace tools
