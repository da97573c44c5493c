#include "acceptance/KitProgram.h"

#include <chrono>
#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/errorresources/SystemErrors.h"
#include "platform/handles/UniqueHandle.h"
#include "previewhost/ChildProcess.h"

namespace tools {
namespace acceptance {

namespace {

using platform::errorresources::SystemErrors;
using previewhost::ChildProcess;

// Longer than this, an output is cut in the report: its end says most.
const std::string::size_type OUTPUT_LIMIT = std::string::size_type{16} * 1024;

void closeFile(HANDLE file) {
    CloseHandle(file);
}

HANDLE noFile() {
    return INVALID_HANDLE_VALUE;
}

using File = platform::handles::UniqueHandle<HANDLE, &closeFile, noFile>;

File openScratch(const std::string& path, bool forWriting) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    return File(CreateFileA(
        path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, forWriting ? &inherited : nullptr,
        forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

KitProgram::KitProgram(std::string path, std::string scratch)
    : _path(std::move(path))
    , _scratch(std::move(scratch)) {}

KitProgram::Result KitProgram::run(const std::string& arguments, DWORD milliseconds) const {
    const auto start = std::chrono::steady_clock::now();
    std::optional<DWORD> code;
    std::string problem;
    try {
        code = this->start(arguments)->waitForExit(milliseconds);
        if (!code) {
            problem = "\nThe program did not end within " + std::to_string(milliseconds / 1000) +
                      " s and was ended.\n";
        }
    } catch (const std::exception& e) {
        problem = e.what();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string text = printed() + problem;
    if (code && *code == 0) {
        return {Outcome::PASSED, seconds, text};
    }
    if (code && *code == PLOVIX_TEST_SKIPPED_CODE) {
        return {Outcome::SKIPPED, seconds, text};
    }
    if (code) {
        text += "\nExit code: " + std::to_string(*code) + "\n";
    }
    return {Outcome::FAILED, seconds, text};
}

std::unique_ptr<ChildProcess> KitProgram::start(const std::string& arguments) const {
    // The program keeps the file open through its own copy of the handle.
    const File output = openScratch(_scratch, true);
    if (!output) {
        SystemErrors::throwLastError<std::runtime_error>([&](const std::string& reason) {
            return "Could not open a file for a program's output using 'CreateFileA'.\nFile: " +
                   _scratch + "\n" + reason;
        });
    }
    return std::make_unique<ChildProcess>("\"" + _path + "\" " + arguments, "", output.get());
}

std::string KitProgram::printed() const {
    const File file = openScratch(_scratch, false);
    if (!file) {
        return "(what it printed could not be read: " + SystemErrors::lastErrorText() + ")";
    }
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    // The programs' C library writes Windows' line ends.
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) != 0 && read > 0) {
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] != '\r') {
                text += buffer[i];
            }
        }
    }
    if (text.size() > OUTPUT_LIMIT) {
        text = "...\n" + text.substr(text.size() - OUTPUT_LIMIT);
    }
    return text;
}

std::string KitProgram::reason(const std::string& output) {
    const std::string::size_type run = output.find("[ RUN      ]");
    std::string::size_type from = run == std::string::npos ? 0 : output.find('\n', run);
    from = from == std::string::npos ? 0 : from + 1;
    std::string::size_type to = output.find("\n[", from);
    // A skip's first line only says where: "file:line: Skipped".
    const std::string::size_type where = output.find(": Skipped\n", from);
    if (where != std::string::npos && where < output.find('\n', from)) {
        from = where + 10;
    }
    std::string text = output.substr(from, to == std::string::npos ? std::string::npos : to - from);
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

} // namespace acceptance
} // namespace tools
