// Drives the real window on an X display as a user would, step by step:
// waits for the window, presses keys, changes a file on disk, saves
// screenshots and closes the window. After each key step and each change
// it waits for the window to show something new and to stop changing.
//
//   qt_window_driver --title TITLE [--timeout SECONDS] STEP...
//     --keys K[,K...]      key presses: Down, Up, Home, End, Tab, Return, F5,
//                          F8, a letter or digit; "ctrl+" or "shift+" before
//     --append FILE TEXT   appends TEXT (where "\n" is a line break) to FILE;
//                          the report must change without a key pressed
//     --point X,Y          moves the pointer there, in the window; the window
//                          must show something new
//     --shot FILE.png      saves the window, which must not be blank
//     --close              asks the window to close, as a window manager does
//
// Exit status 0 when every step worked; 1 with a message otherwise.

#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Step {
    enum Kind { kKeys, kAppend, kPoint, kShot, kClose } kind;
    std::string first;
    std::string second;
};

struct Options {
    std::string title;
    int timeoutSeconds = 30;
    std::vector<Step> steps;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "qt_window_driver: %s\n", message.c_str());
    std::exit(1);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const auto value = [&](int ahead) -> std::string {
            if (i + ahead >= argc) Fail("missing value of " + name);
            return argv[i + ahead];
        };
        if (name == "--title") {
            options.title = value(1);
            ++i;
        } else if (name == "--timeout") {
            options.timeoutSeconds = std::atoi(value(1).c_str());
            ++i;
        } else if (name == "--keys") {
            options.steps.push_back({Step::kKeys, value(1), {}});
            ++i;
        } else if (name == "--append") {
            options.steps.push_back({Step::kAppend, value(1), value(2)});
            i += 2;
        } else if (name == "--point") {
            options.steps.push_back({Step::kPoint, value(1), {}});
            ++i;
        } else if (name == "--shot") {
            options.steps.push_back({Step::kShot, value(1), {}});
            ++i;
        } else if (name == "--close") {
            options.steps.push_back({Step::kClose, {}, {}});
        } else {
            Fail("unknown option " + name);
        }
    }
    if (options.title.empty() || options.steps.empty()) {
        Fail("usage: qt_window_driver --title TITLE [--timeout SECONDS] STEP...");
    }
    return options;
}

// A key press: the key's symbol and the modifier mask of X.
struct Key {
    uint32_t keysym = 0;
    uint16_t modifiers = 0;
};

Key KeyOf(std::string name) {
    Key key;
    for (;;) {
        if (name.rfind("ctrl+", 0) == 0) {
            key.modifiers |= XCB_MOD_MASK_CONTROL;
            name.erase(0, 5);
        } else if (name.rfind("shift+", 0) == 0) {
            key.modifiers |= XCB_MOD_MASK_SHIFT;
            name.erase(0, 6);
        } else {
            break;
        }
    }
    static const std::vector<std::pair<std::string, uint32_t>> named = {
        {"Down", 0xff54}, {"Up", 0xff52},     {"Home", 0xff50}, {"End", 0xff57},
        {"Tab", 0xff09},  {"Return", 0xff0d}, {"F5", 0xffc2},   {"F8", 0xffc5},
    };
    for (const auto& [keyName, keysym] : named) {
        if (name == keyName) {
            key.keysym = keysym;
            return key;
        }
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        key.keysym = static_cast<uint32_t>(std::tolower(static_cast<unsigned char>(name[0])));
        return key;
    }
    Fail("unknown key " + name);
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1) {
        parts.push_back(text.substr(start, comma - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

class XConnection {
public:
    XConnection() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_)) Fail("cannot connect to the X display");
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
    ~XConnection() { xcb_disconnect(connection_); }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    xcb_atom_t Atom(const char* name) {
        auto reply = Own(xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    std::string Property(xcb_window_t window, xcb_atom_t property) {
        auto reply = Own(xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr));
        if (!reply) return {};
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
        return std::string(bytes, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
    }

    // The mapped top-level window of that title, if there is one.
    std::optional<xcb_window_t> FindWindow(const std::string& title) {
        const xcb_atom_t netName = Atom("_NET_WM_NAME");
        auto tree = Own(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, screen_->root), nullptr));
        if (!tree) return std::nullopt;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const xcb_window_t window = children[i];
            auto attributes = Own(xcb_get_window_attributes_reply(
                connection_, xcb_get_window_attributes(connection_, window), nullptr));
            if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
            if (Property(window, netName) == title || Property(window, XCB_ATOM_WM_NAME) == title) {
                return window;
            }
        }
        return std::nullopt;
    }

    xcb_keycode_t KeycodeOf(uint32_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        auto mapping = Own(xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, count),
            nullptr));
        if (!mapping) Fail("cannot read the keyboard mapping");
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
        const int perCode = mapping->keysyms_per_keycode;
        for (int code = 0; code < count; ++code) {
            for (int i = 0; i < perCode; ++i) {
                if (keysyms[code * perCode + i] == keysym) {
                    return static_cast<xcb_keycode_t>(setup->min_keycode + code);
                }
            }
        }
        Fail("no key for the keysym");
    }

    void PressKey(xcb_window_t window, xcb_keycode_t code, uint16_t modifiers) {
        for (const int type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t event{};
            event.response_type = static_cast<uint8_t>(type);
            event.detail = code;
            event.time = XCB_CURRENT_TIME;
            event.root = screen_->root;
            event.event = window;
            event.child = XCB_NONE;
            event.same_screen = 1;
            event.state = modifiers;
            const uint32_t mask =
                type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
            xcb_send_event(connection_, 0, window, mask, reinterpret_cast<const char*>(&event));
        }
        xcb_flush(connection_);
    }

    // What a window manager does for a window that it shows: gives it the
    // keyboard, so that it is the active window (and its shortcuts work).
    void Focus(xcb_window_t window) {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        Sync();
    }

    // Moves the pointer as a mouse does: the server sends the events.
    void MovePointer(xcb_window_t window, int16_t x, int16_t y) {
        xcb_warp_pointer(connection_, XCB_NONE, window, 0, 0, 0, 0, x, y);
        Sync();
    }

    // What the close button of a window manager sends.
    void Close(xcb_window_t window) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        Sync();
    }

    // Waits until the server has handled every request sent so far.
    void Sync() {
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

private:
    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
};

QImage Grab(xcb_window_t window) {
    return QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// The part of the window where the report and the findings are: below the
// menu and the venue selector, above the status bar.
QRect ReportArea(const QImage& image) {
    return QRect(0, 70, image.width(), std::max(0, image.height() - 100));
}

// Pixels that differ between two pictures of the same window.
int Differences(const QImage& a, const QImage& b, const QRect& area) {
    if (a.size() != b.size()) return area.width() * area.height();
    const QRect inside = area.intersected(a.rect());
    int differ = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) ++differ;
        }
    }
    return differ;
}

size_t ColoursIn(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours.size();
}

class Driver {
public:
    Driver(XConnection& display, xcb_window_t window, qint64 limit)
        : display_(display), window_(window), limit_(limit) {
        clock_.start();
    }

    // Waits for a picture that differs from `before` in the report's area
    // (when one is given) and then stays the same for a while.
    QImage Settled(const QImage& before, const std::string& what, int least = 200) {
        QImage shot;
        int same = 0;
        const qint64 until = clock_.elapsed() + limit_;
        for (;;) {
            QThread::msleep(150);
            QImage next = Grab(window_);
            const bool changed =
                before.isNull() || Differences(next, before, ReportArea(next)) > least;
            same = (changed && next == shot) ? same + 1 : 0;
            if (same >= 2) return next;
            shot = std::move(next);
            if (clock_.elapsed() > until) Fail("the window did not change after " + what);
        }
    }

    void Keys(const std::string& list) {
        const QImage before = Grab(window_);
        for (const std::string& name : Split(list)) {
            const Key key = KeyOf(name);
            display_.PressKey(window_, display_.KeycodeOf(key.keysym), key.modifiers);
            QThread::msleep(50);
        }
        last_ = Settled(before, "the keys " + list);
        std::printf("keys %s: the window changed after %lld ms\n", list.c_str(),
                    static_cast<long long>(clock_.elapsed()));
    }

    void Append(const std::string& file, const std::string& text) {
        const QImage before = last_.isNull() ? Grab(window_) : last_;
        std::string bytes;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
                bytes += '\n';
                ++i;
            } else {
                bytes += text[i];
            }
        }
        std::FILE* out = std::fopen(file.c_str(), "ab");
        if (out == nullptr) Fail("cannot write " + file);
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
        const qint64 written = clock_.elapsed();
        last_ = Settled(before, "the change to " + file);
        std::printf("%s changed: the report changed by itself %lld ms later\n", file.c_str(),
                    static_cast<long long>(clock_.elapsed() - written));
    }

    void Point(const std::string& place) {
        const size_t comma = place.find(',');
        if (comma == std::string::npos) Fail("--point takes X,Y");
        const QImage before = last_.isNull() ? Grab(window_) : last_;
        display_.MovePointer(window_, static_cast<int16_t>(std::atoi(place.c_str())),
                             static_cast<int16_t>(std::atoi(place.c_str() + comma + 1)));
        last_ = Settled(before, "the pointer moved to " + place, 20);
    }

    void Shot(const std::string& file) {
        const QImage shot = last_.isNull() ? Settled({}, "start") : last_;
        const size_t colours = ColoursIn(shot);
        std::printf("screenshot %dx%d: %zu colours\n", shot.width(), shot.height(), colours);
        if (colours < 8) Fail("the screenshot is blank");
        if (!shot.save(QString::fromLocal8Bit(file.c_str()), "PNG")) Fail("cannot write " + file);
    }

    void Close() { display_.Close(window_); }

private:
    XConnection& display_;
    xcb_window_t window_;
    qint64 limit_;
    QElapsedTimer clock_;
    QImage last_;
};

}  // namespace

int main(int argc, char** argv) {
    // Read before Qt takes its own options (such as -title) out of argv.
    const Options options = ParseOptions(argc, argv);
    qputenv("QT_QPA_PLATFORM", "xcb");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    XConnection display;
    QElapsedTimer clock;
    clock.start();
    const qint64 limit = options.timeoutSeconds * 1000LL;

    std::optional<xcb_window_t> window;
    while (!(window = display.FindWindow(options.title))) {
        if (clock.elapsed() > limit) Fail("no window titled '" + options.title + "'");
        QThread::msleep(100);
    }
    std::printf("window %#x found after %lld ms\n", *window,
                static_cast<long long>(clock.elapsed()));

    display.Focus(*window);
    Driver driver(display, *window, limit);
    // The window is painted, and the venue shown last (if any) checked.
    driver.Settled({}, "start");
    for (const Step& step : options.steps) {
        switch (step.kind) {
            case Step::kKeys:
                driver.Keys(step.first);
                break;
            case Step::kAppend:
                driver.Append(step.first, step.second);
                break;
            case Step::kPoint:
                driver.Point(step.first);
                break;
            case Step::kShot:
                driver.Shot(step.first);
                break;
            case Step::kClose:
                driver.Close();
                break;
        }
    }
    return 0;
}
