#ifndef PLOVIX_TOOLS_ACCEPTANCE_KITPROCESSES_H
#define PLOVIX_TOOLS_ACCEPTANCE_KITPROCESSES_H

#include <string>
#include <vector>

namespace tools {
namespace acceptance {

// The processes started from the kit's folder, this one aside: a saver or a
// test program that a failed test left running. None may outlive the run.
class KitProcesses {
public:
    KitProcesses() = delete;

    // Ends each such process and describes it, one line each, with what
    // went wrong when it could not be ended; empty when none was left.
    static std::vector<std::string> endLeftOver(const std::string& folder);
};

} // namespace acceptance
} // namespace tools

#endif
