#include "settings/displaymode.h"

#include "core/log.h"

#include <QString>
#include <QtDebug>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#elif defined(__unix__)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace settings {

int displayModeFromText(const std::string &line)
{
    if (line == "1")
        return 1;
    if (line == "2")
        return 2;
    return 0;
}

#ifdef _WIN32
bool placeNativeWindow(quintptr, const QRect &)
{
    return false;
}

bool windowManagerRunning()
{
    return true;
}

ScreenMetrics primaryScreenMetrics()
{
    ScreenMetrics m;
    m.screen = QSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RECT rect;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0))
        m.workArea = QSize(rect.right - rect.left, rect.bottom - rect.top);
    else
        m.workArea = m.screen;
    m.known = m.screen.width() > 0 && m.screen.height() > 0;
    return m;
}
#elif defined(__unix__)
ScreenMetrics primaryScreenMetrics()
{
    ScreenMetrics m;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        qCWarning(lcSettings).noquote() << QStringLiteral("无法连接 X 显示服务器，按 720x480 的设计尺寸计算缩放");
        return m;
    }
    const int screen = DefaultScreen(display);
    m.screen = QSize(DisplayWidth(display, screen), DisplayHeight(display, screen));
    m.workArea = m.screen;
    // Without a window manager nobody publishes a work area: the whole screen is free.
    const Atom workAreaAtom = XInternAtom(display, "_NET_WORKAREA", True);
    if (workAreaAtom != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, RootWindow(display, screen), workAreaAtom, 0, 4, False,
                               XA_CARDINAL, &type, &format, &count, &after, &data) == Success
            && data && type == XA_CARDINAL && format == 32 && count >= 4) {
            const long *values = reinterpret_cast<const long *>(data);
            if (values[2] > 0 && values[3] > 0)
                m.workArea = QSize(int(values[2]), int(values[3]));
        }
        if (data)
            XFree(data);
    }
    XCloseDisplay(display);
    m.known = m.screen.width() > 0 && m.screen.height() > 0;
    return m;
}

// A compliant window manager names its check window on the root window.
bool windowManagerRunning()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    bool running = false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        running = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                     &format, &count, &after, &data) == Success
            && type == XA_WINDOW && count == 1;
        if (data)
            XFree(data);
    }
    XCloseDisplay(display);
    return running;
}

bool placeNativeWindow(quintptr windowId, const QRect &area)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XMoveResizeWindow(display, Window(windowId), area.x(), area.y(), unsigned(area.width()), unsigned(area.height()));
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}
#else
ScreenMetrics primaryScreenMetrics()
{
    return ScreenMetrics();
}

bool windowManagerRunning()
{
    return true;
}

bool placeNativeWindow(quintptr, const QRect &)
{
    return false;
}
#endif

double scaleFactorForMetrics(int mode, const ScreenMetrics &metrics)
{
    if (!metrics.known || (mode != 1 && mode != 2))
        return 1.0;
    const QSize size = mode == 1 ? metrics.screen : metrics.workArea;
    return std::min(size.width() / 720.0, size.height() / 480.0);
}

double scaleFactorFor(int mode)
{
    return (mode == 1 || mode == 2) ? scaleFactorForMetrics(mode, primaryScreenMetrics()) : 1.0;
}

QByteArray formatScaleFactor(double factor)
{
    return QString::asprintf("%.2f", factor).toLatin1();
}

} // namespace settings
