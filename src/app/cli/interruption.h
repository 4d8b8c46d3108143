#pragma once

#include "common/run_files.h"

namespace venuecheck {

// While it lives, a request from outside to end the program ends it at
// once, but only after the files of the run are deleted: SIGINT, SIGTERM,
// SIGHUP and SIGPIPE on POSIX systems, where the program then ends by the
// same signal (a shell shows 130 for SIGINT, 143 for SIGTERM); Ctrl-C,
// Ctrl-Break and closing the console on Windows, where the console's own
// handling then ends it. A signal that was ignored when the program started
// (nohup, a background job) stays ignored. One at a time.
class EndRunOnInterruption {
public:
    explicit EndRunOnInterruption(RunFiles& files);
    ~EndRunOnInterruption();
    EndRunOnInterruption(const EndRunOnInterruption&) = delete;
    EndRunOnInterruption& operator=(const EndRunOnInterruption&) = delete;
};

}  // namespace venuecheck
