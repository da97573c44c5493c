#ifndef PLOVIX_TOOLS_ACCEPTANCE_DESKSURVEY_H
#define PLOVIX_TOOLS_ACCEPTANCE_DESKSURVEY_H

#include <windows.h>

#include <string>
#include <vector>

namespace tools {
namespace acceptance {

// What this desk is, as far as the saver's tests care: which Windows, which
// monitors where, whether the primary one can show the picture's size and
// already does, and the scale. Read once, before anything runs.
class DeskSurvey {
public:
    struct Monitor {
        std::string device;
        RECT area;
        bool primary;
    };

    // Throws std::runtime_error when the monitors cannot be listed.
    DeskSurvey();

    const std::vector<Monitor>& monitors() const { return _monitors; }
    bool primaryOffersPictureSize() const { return _offersPictureSize; }
    bool primaryAtPictureSize() const { return _atPictureSize; }
    // A 64-bit Windows also runs the 32-bit saver.
    bool is64Bit() const { return _is64Bit; }

    // One "label: value" line each, for the console and the report.
    std::vector<std::string> lines() const;

private:
    std::string _windows;
    std::vector<Monitor> _monitors;
    bool _offersPictureSize = false;
    bool _atPictureSize = false;
    int _scalePercent = 100;
    bool _is64Bit = false;
};

} // namespace acceptance
} // namespace tools

#endif
