// Drives the real window on an X display as a user would: waits for the
// window and its controls, chooses a venue with the keyboard, waits for the
// report to be painted, saves a screenshot, checks that it is not blank and
// closes the window.
//
//   qt_window_driver --title TITLE --select N --output FILE.png [--timeout SECONDS]
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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kKeysymDown = 0xff54;
// Where the window puts its controls.
const QRect kSelectorPlace{10, 20, 250, 20};
const QRect kPanePlace{10, 50, 770, 400};

struct Options {
    std::string title;
    int select = 0;
    std::string output;
    int timeoutSeconds = 30;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "qt_window_driver: %s\n", message.c_str());
    std::exit(1);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--title") {
            options.title = value;
        } else if (name == "--select") {
            options.select = std::atoi(value);
        } else if (name == "--output") {
            options.output = value;
        } else if (name == "--timeout") {
            options.timeoutSeconds = std::atoi(value);
        } else {
            Fail("unknown option " + name);
        }
    }
    if (options.title.empty() || options.output.empty() || options.select < 0) {
        Fail("usage: qt_window_driver --title TITLE --select N --output FILE.png");
    }
    return options;
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

    void PressKey(xcb_window_t window, xcb_keycode_t code) {
        for (const int type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t event{};
            event.response_type = static_cast<uint8_t>(type);
            event.detail = code;
            event.time = XCB_CURRENT_TIME;
            event.root = screen_->root;
            event.event = window;
            event.child = XCB_NONE;
            event.same_screen = 1;
            const uint32_t mask =
                type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
            xcb_send_event(connection_, 0, window, mask, reinterpret_cast<const char*>(&event));
        }
        xcb_flush(connection_);
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

bool Uniform(const QImage& image, const QRect& area) {
    const QRect inside = area.intersected(image.rect());
    if (inside.isEmpty()) return true;
    const QRgb first = image.pixel(inside.topLeft());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixel(x, y) != first) return false;
        }
    }
    return true;
}

// Pixels dark enough to be text.
int InkIn(const QImage& image, const QRect& area) {
    const QRect inside = area.intersected(image.rect());
    int ink = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) ++ink;
        }
    }
    return ink;
}

size_t ColoursIn(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours.size();
}

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
    const auto pause = [] { QThread::msleep(100); };

    std::optional<xcb_window_t> window;
    while (!(window = display.FindWindow(options.title))) {
        if (clock.elapsed() > limit) Fail("no window titled '" + options.title + "'");
        pause();
    }
    std::printf("window %#x found after %lld ms\n", *window,
                static_cast<long long>(clock.elapsed()));

    // The controls come after the window is shown, once the catalogues are read.
    while (Uniform(Grab(*window), kSelectorPlace)) {
        if (clock.elapsed() > limit) Fail("the venue selector never appeared");
        pause();
    }

    const xcb_keycode_t down = display.KeycodeOf(kKeysymDown);
    for (int i = 0; i <= options.select; ++i) display.PressKey(*window, down);

    // Wait for a report that has stopped changing.
    QImage shot;
    for (;;) {
        pause();
        QImage next = Grab(*window);
        if (InkIn(next, kPanePlace) > 500 && next == shot) break;
        shot = std::move(next);
        if (clock.elapsed() > limit) Fail("no report appeared in the pane");
    }

    const size_t colours = ColoursIn(shot);
    const int ink = InkIn(shot, kPanePlace);
    std::printf("screenshot %dx%d: %zu colours, %d dark pixels in the pane\n", shot.width(),
                shot.height(), colours, ink);
    if (colours < 8) Fail("the screenshot is blank");
    if (!shot.save(QString::fromLocal8Bit(options.output.c_str()), "PNG")) {
        Fail("cannot write " + options.output);
    }

    display.Close(*window);
    return 0;
}
