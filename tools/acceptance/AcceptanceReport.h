#ifndef PLOVIX_TOOLS_ACCEPTANCE_ACCEPTANCEREPORT_H
#define PLOVIX_TOOLS_ACCEPTANCE_ACCEPTANCEREPORT_H

#include <string>
#include <utility>
#include <vector>

#include "acceptance/KitProgram.h"

namespace tools {
namespace acceptance {

// What the kit found, written as JUnit for a forge and as a page for a
// person: the desk, each test with its result (a skipped one with its
// reason), the figures beside their references, and the pictures.
class AcceptanceReport {
public:
    struct Case {
        std::string suite; // "x64.SaverEndToEndTest", "desk", ...
        std::string name;
        KitProgram::Outcome outcome;
        double seconds;
        std::string reason;
        std::string output; // written for a failure only
    };

    void addDesk(const std::vector<std::string>& lines) { _desk = lines; }
    void add(Case result) { _cases.push_back(std::move(result)); }
    // One program's figures, "name value" each, in the order measured.
    void addFigures(const std::string& program,
                    std::vector<std::pair<std::string, std::string>> figures);
    // A picture of the screen, a file beside the report.
    void addPicture(const std::string& title, const std::string& file);

    int failures() const;
    const std::vector<Case>& cases() const { return _cases; }

    // Throws std::runtime_error naming the file that could not be written.
    void write(const std::string& junitPath, const std::string& pagePath) const;

private:
    std::string _junit() const;
    std::string _page() const;

    std::vector<std::string> _desk;
    std::vector<Case> _cases;
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> _figures;
    std::vector<std::pair<std::string, std::string>> _pictures;
};

} // namespace acceptance
} // namespace tools

#endif
