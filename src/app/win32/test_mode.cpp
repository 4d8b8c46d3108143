#include "app/win32/test_mode.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

namespace venuecheck {
namespace {

constexpr char kDriverClass[] = "VenueCheckerTestDriver";
constexpr UINT kSelectNext = WM_APP + 1;
constexpr UINT kFinish = WM_APP + 2;

struct PaneStyle {
    std::string face;
    LONG size = 0;
    COLORREF colour = 0;
    bool bold = false;
    bool operator==(const PaneStyle&) const = default;
};

struct PaneRun {
    std::string text;
    PaneStyle style;
};

// The format of the characters from `first` up to `end`, and whether they
// all share it (the control clears the mask bit of an attribute that varies).
struct SpanFormat {
    PaneStyle style;
    bool uniform = false;
};

SpanFormat FormatOf(HWND pane, LONG first, LONG end) {
    CHARRANGE range{first, end};
    SendMessageA(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format{};
    format.cbSize = sizeof(CHARFORMATA);
    SendMessageA(pane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    constexpr DWORD kAttributes = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD;
    SpanFormat span;
    span.style.face = format.szFaceName;
    span.style.size = format.yHeight;
    span.style.colour = format.crTextColor;
    span.style.bold = (format.dwEffects & CFE_BOLD) != 0;
    span.uniform = (format.dwMask & kAttributes) == kAttributes;
    return span;
}

// The pane's text as the control holds it, one byte per character in the
// ANSI code page the "RichEdit20A" control converts with. The control keeps
// every line break as a paragraph mark ("\r"); it is given back as "\n", the
// line break the report appends.
std::string PaneText(HWND pane) {
    GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto length = static_cast<LONG>(
        SendMessageW(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0));
    std::vector<wchar_t> wide(static_cast<size_t>(length) + 1);
    GETTEXTEX textQuery{};
    textQuery.cb = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    textQuery.flags = GT_DEFAULT;
    textQuery.codepage = 1200;
    const auto copied =
        static_cast<LONG>(SendMessageW(pane, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&textQuery),
                                       reinterpret_cast<LPARAM>(wide.data())));
    std::string text;
    for (LONG i = 0; i < copied; ++i) {
        if (wide[i] == L'\r') {
            text += '\n';
            continue;
        }
        char byte = '?';
        WideCharToMultiByte(CP_ACP, 0, &wide[i], 1, &byte, 1, nullptr, nullptr);
        text += byte;
    }
    return text;
}

// Runs of equal format. A run starts with the format of its first character;
// its end is found by doubling the span while the control reports one format
// for it, then halving the step back (asking per character would take
// seconds for a long report under Wine).
std::vector<PaneRun> PaneRuns(HWND pane, const std::string& text) {
    const auto length = static_cast<LONG>(text.size());
    auto sameAs = [pane](LONG first, LONG end, const PaneStyle& style) {
        const SpanFormat span = FormatOf(pane, first, end);
        return span.uniform && span.style == style;
    };
    std::vector<PaneRun> runs;
    LONG first = 0;
    while (first < length) {
        PaneStyle style = FormatOf(pane, first, first + 1).style;
        LONG good = first + 1;  // [first, good) has the style
        LONG bad = length + 1;  // [first, bad) does not
        for (LONG step = 1; good < length; step *= 2) {
            const LONG probe = std::min(length, good + step);
            if (!sameAs(first, probe, style)) {
                bad = probe;
                break;
            }
            good = probe;
        }
        while (bad <= length && bad - good > 1) {
            const LONG middle = good + (bad - good) / 2;
            if (sameAs(first, middle, style)) {
                good = middle;
            } else {
                bad = middle;
            }
        }
        if (!runs.empty() && runs.back().style == style) {
            runs.back().text.append(text, static_cast<size_t>(first),
                                    static_cast<size_t>(good - first));
        } else {
            runs.push_back(
                {text.substr(static_cast<size_t>(first), static_cast<size_t>(good - first)),
                 std::move(style)});
        }
        first = good;
    }
    return runs;
}

std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte >= 0x80) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string ComboText(HWND combo, int position) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, position, 0);
    if (length == CB_ERR) return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

std::optional<TestMode> TestMode::FromEnvironment() {
    const char* select = std::getenv("VENUECHECK_TEST_SELECT");
    const char* output = std::getenv("VENUECHECK_TEST_OUTPUT");
    if (select == nullptr || output == nullptr) return std::nullopt;
    std::vector<int> positions;
    for (const char* item = select; *item != '\0';) {
        positions.push_back(std::atoi(item));
        item = std::strchr(item, ',');
        if (item == nullptr) break;
        ++item;
    }
    const char* keepOpen = std::getenv("VENUECHECK_TEST_KEEP_OPEN");
    return std::optional<TestMode>(std::in_place, std::move(positions), output,
                                   keepOpen != nullptr && std::string_view(keepOpen) == "1");
}

TestMode::~TestMode() {
    if (driver_ != nullptr) DestroyWindow(driver_);
}

void TestMode::Start(HWND window, HWND selector, HWND pane) {
    window_ = window;
    selector_ = selector;
    pane_ = pane;

    WNDCLASSA driverClass{};
    driverClass.lpfnWndProc = DriverProc;
    driverClass.lpszClassName = kDriverClass;
    RegisterClassA(&driverClass);
    driver_ = CreateWindowA(kDriverClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                            nullptr);
    SetWindowLongPtrA(driver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetFocus(selector_);
    PostMessageA(driver_, kSelectNext, 0, 0);
}

void TestMode::SelectNext() {
    if (next_ == positions_.size()) {
        PostMessageA(driver_, kFinish, 0, 0);
        return;
    }
    const int position = positions_[next_++];
    // A neighbour of the wanted item is selected quietly (no notification);
    // an arrow key then moves to the wanted one and the control announces the
    // change. Home reaches a lone first item from no selection.
    const auto count = static_cast<int>(SendMessageA(selector_, CB_GETCOUNT, 0, 0));
    int neighbour = -1;
    WPARAM key = VK_HOME;
    if (position > 0) {
        neighbour = position - 1;
        key = VK_DOWN;
    } else if (count > 1) {
        neighbour = 1;
        key = VK_UP;
    }
    SendMessageA(selector_, CB_SETCURSEL, static_cast<WPARAM>(neighbour), 0);
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageA(selector_, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageA(selector_, WM_KEYUP, key,
                 1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{1} << 30) | (LPARAM{1} << 31));
    // Posted messages come out of the queue in order, and a check run ends
    // within the handling of its key press.
    PostMessageA(driver_, kSelectNext, 0, 0);
}

LRESULT CALLBACK TestMode::DriverProc(HWND driver, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSelectNext || message == kFinish) {
        auto* mode = reinterpret_cast<TestMode*>(GetWindowLongPtrA(driver, GWLP_USERDATA));
        if (mode != nullptr) {
            if (message == kSelectNext) {
                mode->SelectNext();
            } else {
                mode->Finish();
            }
        }
        return 0;
    }
    return DefWindowProcA(driver, message, wParam, lParam);
}

void TestMode::Finish() {
    const std::string text = PaneText(pane_);
    const auto runs = PaneRuns(pane_, text);

    std::ofstream textFile(output_ + ".text", std::ios::binary);
    textFile << text << '\n';

    std::ofstream runsFile(output_ + ".runs", std::ios::binary);
    const int last = positions_.empty() ? -1 : positions_.back();
    runsFile << "{\"check\": " << last << ", \"venue\": " << JsonString(ComboText(selector_, last))
             << "}\n";
    for (const PaneRun& run : runs) {
        runsFile << "{\"text\": " << JsonString(run.text)
                 << ", \"font\": " << JsonString(run.style.face) << ", \"size\": " << run.style.size
                 << ", \"colour\": [" << static_cast<int>(GetRValue(run.style.colour)) << ", "
                 << static_cast<int>(GetGValue(run.style.colour)) << ", "
                 << static_cast<int>(GetBValue(run.style.colour))
                 << "], \"bold\": " << (run.style.bold ? "true" : "false") << "}\n";
    }
    textFile.close();
    runsFile.close();
    if (!keepOpen_) {
        DestroyWindow(window_);
        return;
    }
    // As a user leaves it: insertion point at the end, report read from the top.
    CHARRANGE end{-1, -1};
    SendMessageA(pane_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    SendMessageA(pane_, WM_VSCROLL, SB_TOP, 0);
}

}  // namespace venuecheck
