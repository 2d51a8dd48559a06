#include "window/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QResource>

// rcc's initialiser for the fonts compiled into this library; a static
// library's resources are not registered until it is called.
static void initFontResources() {
    Q_INIT_RESOURCE(fonts);
}

namespace zulcalc {

namespace {

// Hinted advances depend on the system's font settings (fontconfig's hint
// style): unhinted across the line, captions wrap the same everywhere.
QFont face(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(pixels);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

} // namespace

void useBundledFonts() {
    initFontResources();
    // Straight from the program's own pages (the resource is stored
    // uncompressed): no copy of the faces on the heap.
    for (const char* face :
         {":/fonts/DejaVuSansCondensed.ttf", ":/fonts/DejaVuSansCondensed-Bold.ttf"}) {
        const QResource resource(QString::fromLatin1(face));
        QFontDatabase::addApplicationFontFromData(
            QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                    static_cast<qsizetype>(resource.size())));
    }
    // Message boxes and menus are windows of their own and take the
    // application's font, not the main window's: 12 px is 9 pt at 96 dpi.
    QApplication::setFont(face(12));
}

// The condensed face at 10 px is the one that fits every caption into its
// label whole, the one-line note and the two-line "Ширина помещения, м."
// being the tightest.
QFont dialogFont() {
    return face(10);
}

QFont titleFont() {
    QFont font = face(16); // 12 pt at 96 dpi
    font.setBold(true);
    return font;
}

} // namespace zulcalc
