#ifndef PLOVIX_BENCH_REFERENCE_REFERENCENAMES_H
#define PLOVIX_BENCH_REFERENCE_REFERENCENAMES_H

namespace bench {
namespace reference {

// The reference window's class, which the driver looks for once a reference
// has ended, as it does for the saver's.
inline const char* const WINDOW_CLASS_NAME = "PlovixBenchReference";

} // namespace reference
} // namespace bench

#endif
