#include <windows.h>

#include "app/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    return venuecheck::RunVenueChecker(instance, showState);
}
