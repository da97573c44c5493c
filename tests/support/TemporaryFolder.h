#ifndef PLOVIX_TESTS_SUPPORT_TEMPORARYFOLDER_H
#define PLOVIX_TESTS_SUPPORT_TEMPORARYFOLDER_H

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace support {

// A new folder in the system's temporary folder whose name starts with
// `prefix`; removed with all it holds when the object goes, also when an
// assertion ends the test. Throws std::filesystem::filesystem_error when it
// cannot be made.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix) {
        std::random_device random;
        _path = std::filesystem::temp_directory_path() /
                (prefix + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(_path);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return _path; }

private:
    std::filesystem::path _path;
};

} // namespace support

#endif
