#include "window/qt_texts.h"

#include <QCoreApplication>
#include <QTranslator>

// rcc's initialiser for the catalogue compiled into this library.
static void initQtTextResources() {
    Q_INIT_RESOURCE(qt_texts);
}

namespace zulcalc {

bool useRussianQtTexts(QTranslator& translator) {
    initQtTextResources();
    // Stored uncompressed, the catalogue is read in place.
    return translator.load(QStringLiteral(":/translations/qtbase_ru.qm")) &&
           QCoreApplication::installTranslator(&translator);
}

} // namespace zulcalc
