#pragma once

class QTranslator;

namespace zulcalc {

// Qt's own texts (the message boxes' buttons, "Show Details...", the line
// edits' context menu) in Russian, like the rest of the window, whatever the
// system's locale and whatever translations it has: the catalogue is compiled
// into the program. `translator` must outlive the application's windows.
// Returns false if the catalogue could not be loaded.
bool useRussianQtTexts(QTranslator& translator);

} // namespace zulcalc
