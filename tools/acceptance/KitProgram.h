#ifndef PLOVIX_TOOLS_ACCEPTANCE_KITPROGRAM_H
#define PLOVIX_TOOLS_ACCEPTANCE_KITPROGRAM_H

#include <windows.h>

#include <memory>
#include <string>

#include "previewhost/ChildProcess.h"

namespace tools {
namespace acceptance {

// One of the kit's programs, run to its end with what it prints kept. The
// test programs run one test a process, as the test command runs them: a
// skipped test ends with its own exit code, so a test that skips and then
// crashes or hangs still fails.
class KitProgram {
public:
    enum class Outcome { PASSED, FAILED, SKIPPED };
    struct Result {
        Outcome outcome;
        double seconds;
        // What the test printed, or why it could not run.
        std::string output;
    };

    // `path`: the program; `scratch`: a file its output goes to meanwhile.
    KitProgram(std::string path, std::string scratch);

    // Runs the program with `arguments` for up to `milliseconds`, then ends
    // it; never throws. Exit code 0 passes, the skipped tests' code skips.
    Result run(const std::string& arguments, DWORD milliseconds) const;
    // Starts it for a caller that watches it run; ended when that goes.
    // Throws std::runtime_error, naming the failed call.
    std::unique_ptr<previewhost::ChildProcess> start(const std::string& arguments) const;
    // What the program last started has printed so far.
    std::string printed() const;

    // Why a skipped test skipped, or why a failed one failed: the lines
    // the test printed between its start and its end.
    static std::string reason(const std::string& output);

private:
    std::string _path;
    std::string _scratch;
};

} // namespace acceptance
} // namespace tools

#endif
