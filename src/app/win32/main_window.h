#pragma once

#include <windows.h>

namespace venuecheck {

// The whole life of the program: start-up, the message loop, shut-down.
// Returns the exit status, 0 on every path.
int RunVenueChecker(HINSTANCE instance, int showState);

}  // namespace venuecheck
