#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace venuecheck {

// Drives the window the way a user does, for the tests run under Wine; not
// offered to users. With VENUECHECK_TEST_SELECT=N in the environment, after
// start-up a key press to the venue selector selects position N (so the
// selection change comes from the control itself); "N,M,..." selects those
// positions one after another. Once the last check run is over the pane's
// content is read back from the control and written to
// VENUECHECK_TEST_OUTPUT with ".text" (the plain text) and ".runs" (the
// styled runs, one JSON line each) appended, and the window is closed. With
// VENUECHECK_TEST_KEEP_OPEN=1 the window stays open instead, its pane
// scrolled back to the top, for a screenshot.
class TestMode {
public:
    static std::optional<TestMode> FromEnvironment();

    TestMode(std::vector<int> positions, std::string output, bool keepOpen)
        : positions_(std::move(positions)), output_(std::move(output)), keepOpen_(keepOpen) {}
    TestMode(const TestMode&) = delete;
    TestMode& operator=(const TestMode&) = delete;
    TestMode(TestMode&&) = default;
    ~TestMode();

    // Queues the first key press; each one queues the next behind it, and
    // the last the reading of the pane. Must not move afterwards: its driver
    // window refers to it.
    void Start(HWND window, HWND selector, HWND pane);

private:
    static LRESULT CALLBACK DriverProc(HWND driver, UINT message, WPARAM wParam, LPARAM lParam);
    void SelectNext();
    void Finish();

    std::vector<int> positions_;
    size_t next_ = 0;
    std::string output_;
    bool keepOpen_;
    HWND window_ = nullptr;
    HWND selector_ = nullptr;
    HWND pane_ = nullptr;
    HWND driver_ = nullptr;
};

}  // namespace venuecheck
