#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <string>

namespace settings {

// 0 windowed, 1 full screen, 2 maximised: setting line 1 compared as text.
int displayModeFromText(const std::string &line);

// Setting line 1 as the controller starts from it: an integer from 1 to 10
// (blanks before it and text after it ignored), else 3 with a line in the log
// saying why. The windowed "0" that start-up writes is out of range on purpose.
int readDisplayModeSetting();

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

// The scale factor for a display mode; also stores the mode in setting line 1
// (stored, when given, tells whether that write succeeded).
double scaleFactorFor(int mode, bool *stored = nullptr);

// "%.2f" of the factor, as QT_SCALE_FACTOR wants it.
QByteArray formatScaleFactor(double factor);

} // namespace settings
