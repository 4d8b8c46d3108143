#include "app/win32/main_window.h"

#include <richedit.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/win32/rich_edit_pane.h"
#include "app/win32/test_mode.h"
#include "check/checker.h"
#include "common/game_folder.h"
#include "report/report.h"

namespace venuecheck {
namespace {

constexpr char kClassName[] = "HelloWin";
constexpr char kWindowTitle[] = "Pelarin Venue checker - Dobrenn 2007 Ver 1.0";

// The state of the one window. It lives in RunVenueChecker's frame; the
// window procedure reaches it through the window's user data.
struct Application {
    explicit Application(GameFolder folder) : checker(std::move(folder)), report(pane) {}

    HWND window = nullptr;
    HWND selector = nullptr;
    int32_t quit = 0;
    Checker checker;
    RichEditPane pane;
    Report report;
};

void RunCheck(Application& app) {
    const auto position = static_cast<int>(SendMessageA(app.selector, CB_GETCURSEL, 0, 0));
    app.checker.CheckRun(position, app.report);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<Application*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (app != nullptr) {
        switch (message) {
            case WM_COMMAND:
                // The selector is recognised by the low 16 bits of its handle.
                if (LOWORD(lParam) == LOWORD(reinterpret_cast<LPARAM>(app->selector)) &&
                    HIWORD(wParam) == CBN_SELCHANGE) {
                    RunCheck(*app);
                }
                break;
            case WM_DESTROY:
                // No quit message: the loop ends on the flag.
                app->quit = 1;
                break;
            default:
                break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

// The venue selector, filled in catalogue order (it does not sort, so a
// position is the venue's place in the catalogue), and the report pane.
int CreateChildControls(Application& app) {
    app.selector =
        CreateWindowA("combobox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                      10, 20, 250, 500, app.window, nullptr, nullptr, nullptr);
    SendMessageA(app.selector, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : app.checker.VenueNames()) {
        SendMessageA(app.selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    HWND pane =
        CreateWindowA("RichEdit20A", "",
                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE,
                      10, 50, 770, 400, app.window, nullptr, nullptr, nullptr);
    app.pane.Attach(pane);
    CHARRANGE none{-1, -1};
    SendMessageA(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
    return 1;
}

// Polls instead of blocking: one message at most per pass, then a 10 ms nap.
void RunMessageLoop(const Application& app) {
    while (app.quit == 0) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

}  // namespace

int RunVenueChecker(HINSTANCE instance, int showState) {
    LoadLibraryA("RichEd32.dll");

    Application app{GameFolder(".")};
    app.checker.LoadMaxSizes();

    if (!RegisterMainClass(instance)) {
        MessageBoxA(nullptr, "This program requires Windows XP!", kClassName, MB_ICONERROR);
        return 0;
    }
    app.window = CreateWindowA(kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 800, 500, nullptr, nullptr, instance, &app);
    if (app.window == nullptr) {
        MessageBeep(0xFFFFFFFF);
        return 0;
    }
    ShowWindow(app.window, showState);
    UpdateWindow(app.window);

    app.checker.LoadSpecies();
    app.checker.LoadVenues();
    CreateChildControls(app);

    std::optional<TestMode> testMode = TestMode::FromEnvironment();
    if (testMode) testMode->Start(app.window, app.selector, app.pane.Control());

    RunMessageLoop(app);

    app.checker.ShutDown();
    return 0;
}

}  // namespace venuecheck
