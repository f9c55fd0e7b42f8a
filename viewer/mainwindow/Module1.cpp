#include "Module1.h"

#include "ViewerError.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
    void operator()(void* p) const { XFree(p); }
};

// The window's title: _NET_WM_NAME (UTF-8) when it has one, else WM_NAME.
std::optional<std::string> titleOf(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
        if (type == utf8 && format == 8) {
            return std::string(reinterpret_cast<const char*>(data), count);
        }
    }
    XTextProperty text{};
    if (XGetWMName(display, window, &text) != 0 && text.value != nullptr) {
        std::unique_ptr<unsigned char, XFreeDeleter> owned(text.value);
        if (text.format == 8) {
            return std::string(reinterpret_cast<const char*>(text.value), text.nitems);
        }
    }
    return std::nullopt;
}

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// Depth-first through the tree under `window`: every window titled `title`, in tree order.
void collectByTitle(Display* display, Window window, const std::string& title,
                    std::vector<Window>& found) {
    const std::optional<std::string> own = titleOf(display, window);
    if (own && *own == title) {
        found.push_back(window);
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return;
    }
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        collectByTitle(display, children[i], title, found);
    }
}

// The window titled `title` that the user sees; toolkits also name hidden helper windows
// after the program, so a shown window comes first and a hidden one only when none is shown.
std::optional<Window> findByTitle(Display* display, const std::string& title) {
    std::vector<Window> found;
    collectByTitle(display, DefaultRootWindow(display), title, found);
    for (Window window : found) {
        if (isViewable(display, window)) {
            return window;
        }
    }
    if (found.empty()) {
        return std::nullopt;
    }
    return found.front();
}

void postCloseRequest(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// A window may vanish while the tree is walked; the errors that follow are expected and must
// not end the program, which is what Xlib's default handler does.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

class ScopedErrorHandler {
public:
    ScopedErrorHandler() : previous_(XSetErrorHandler(ignoreXError)) {}
    ~ScopedErrorHandler() { XSetErrorHandler(previous_); }
    ScopedErrorHandler(const ScopedErrorHandler&) = delete;
    ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;

private:
    XErrorHandler previous_;
};

} // namespace

namespace Module1 {

void CloseWindowByTitle(const QString& title, bool silent) {
    const DisplayPtr display(XOpenDisplay(nullptr));
    if (display) {
        const ScopedErrorHandler quiet;
        const std::optional<Window> window = findByTitle(display.get(), title.toStdString());
        if (window) {
            postCloseRequest(display.get(), *window);
            XSync(display.get(), False);
            return;
        }
    }
    if (!silent) {
        throw ViewerError(1, QStringLiteral("Can't find application to close"));
    }
}

} // namespace Module1
