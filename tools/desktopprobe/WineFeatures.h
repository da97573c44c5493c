#ifndef PLOVIX_TOOLS_DESKTOPPROBE_WINEFEATURES_H
#define PLOVIX_TOOLS_DESKTOPPROBE_WINEFEATURES_H

#include <string>

namespace tools {
namespace desktopprobe {

// Where the Wine that runs this program differs from what Windows
// documents, by its version: measured under Wine 8.0 and 10.0, and taken to
// hold from the version that first had it on. Off Wine every answer is
// Windows' own. The tests assert Windows' behaviour wherever the answer is
// yes and say why not otherwise; the run command asks the probe.
class WineFeatures {
public:
    WineFeatures();

    // "wine-10.0", or "" off Wine.
    const std::string& version() const { return _version; }
    // What one process paints into a child of another process's window, as
    // the saver does in the Screen Saver Settings dialog's preview, is
    // shown on the screen (Wine 10 on).
    bool showsOtherProcessesChildren() const;
    // A mode set for full screen only is put back when the process that set
    // it ends, even killed (Wine 10 on).
    bool restoresModesOfEndedProcesses() const;

private:
    std::string _version;
    int _major;
};

} // namespace desktopprobe
} // namespace tools

#endif
