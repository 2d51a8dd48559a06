#pragma once

#include <QFont>

namespace zulcalc {

// Registers the faces compiled into the program and makes them the
// application's font, so that the window, its message boxes and the layout
// of every caption are the same whichever fonts the system has (or none).
// Call once, after the application object exists.
void useBundledFonts();

// The window's text, in pixels rather than points: the layout is in logical
// pixels too, so text and boxes scale together on any screen.
QFont dialogFont();
QFont titleFont();

} // namespace zulcalc
