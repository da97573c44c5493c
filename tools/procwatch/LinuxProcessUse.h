#ifndef PLOVIX_TOOLS_PROCWATCH_LINUXPROCESSUSE_H
#define PLOVIX_TOOLS_PROCWATCH_LINUXPROCESSUSE_H

namespace tools {
namespace procwatch {

// What a Linux process has used so far, as /proc tells it: the processor
// time of all its threads and how often they woke after waiting. A Wine
// program is one Linux process, and the Wine server another.
class LinuxProcessUse {
public:
    // False when the process has ended or /proc cannot be read.
    bool read(int pid);

    // utime + stime of all its threads, in clock ticks.
    unsigned long long ticks() const { return _ticks; }
    // Voluntary context switches of all its threads: each is a wakeup after
    // the thread waited.
    unsigned long long wakeups() const { return _wakeups; }

private:
    unsigned long long _ticks = 0;
    unsigned long long _wakeups = 0;
};

} // namespace procwatch
} // namespace tools

#endif
