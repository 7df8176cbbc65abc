#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <string>

namespace settings {

// 0 windowed, 1 full screen, 2 maximised: setting line 1 compared as text.
int displayModeFromText(const std::string &line);

struct ScreenMetrics {
    QSize screen;   // primary screen in pixels
    QSize workArea; // screen minus panels
    bool known = false;
};

// Asked of the platform before the application object exists.
ScreenMetrics primaryScreenMetrics();

// Whether a window manager looks after the windows (always so on Windows).
// Without one nobody acts on a full-screen or maximised request.
bool windowManagerRunning();

// Without a window manager: puts the native window exactly on area, in the
// screen's own pixels. False where this cannot be done.
bool placeNativeWindow(quintptr windowId, const QRect &area);

// Pure part of the scale rule: how far a 720 x 480 page can grow in the mode.
double scaleFactorForMetrics(int mode, const ScreenMetrics &metrics);

// The scale factor for a display mode on this machine's screen.
double scaleFactorFor(int mode);

// "%.2f" of the factor, as QT_SCALE_FACTOR wants it.
QByteArray formatScaleFactor(double factor);

} // namespace settings
