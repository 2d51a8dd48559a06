#pragma once

#include "calc/inputs.h"
#include "calc/presentation.h"
#include "report/append_file.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

namespace zulcalc {

// A box the report prints, after the caption of the label that names it.
struct CaptionedBox {
    std::string_view label;
    std::string_view box;
};

// The label and box names of the report's lines: the window builds its
// controls with them and the report reads those controls back by them. The
// calculation's boxes are named by calc/.
namespace reported {
inline constexpr CaptionedBox projectCode{"lblШифр_проекта", "txtЗначение_шифр_проекта"};
inline constexpr CaptionedBox buildingName{"lblнаименование_здания",
                                           "txtЗначение_Наименование_здания"};
inline constexpr CaptionedBox buildingAddress{"lblАдрес_здания", "txtЗначение_Адрес_здания"};
inline constexpr CaptionedBox floor{"lbl№этажа", "txtЗначение_№_этажа"};
inline constexpr CaptionedBox roomNumber{"lbl№помещения", "txtЗначение_№_помещения"};
inline constexpr CaptionedBox roomName{"lblНаименованиепомещения", "txtНаименование_помещения"};
inline constexpr CaptionedBox area{"lblПлощадь", "txtЗначение_Площадь"};
inline constexpr CaptionedBox height{"lblВысота", inputBoxName(Input::H)};
inline constexpr CaptionedBox width{"lblШирина", inputBoxName(Input::W)};
inline constexpr CaptionedBox length{"lblДлина", inputBoxName(Input::L)};
inline constexpr CaptionedBox sensitivity{"lblЧувствительность", inputBoxName(Input::S)};
inline constexpr CaptionedBox power{"lblМощность", inputBoxName(Input::P)};
inline constexpr CaptionedBox noise{"lblФон", inputBoxName(Input::N)};
inline constexpr CaptionedBox distance{"lblРастояние_оповещатель_слушатель",
                                       inputBoxName(Input::r)};
inline constexpr CaptionedBox requiredLevel{"lblТребуемый_уровень_в_точке",
                                            resultBoxName(ResultBox::RequiredLevel)};
inline constexpr CaptionedBox levelAt3m{"lblЗвук_на_3_м", resultBoxName(ResultBox::LevelAt3m)};
inline constexpr CaptionedBox listenerLevel{"lblЗвук_в_расчетной_точке",
                                            resultBoxName(ResultBox::ListenerLevel)};
inline constexpr CaptionedBox count{"lblКоличество_оповещателей", resultBoxName(ResultBox::Count)};
inline constexpr CaptionedBox wallDistance{"lblРасстояние_до_стены",
                                           resultBoxName(ResultBox::WallDistance)};
inline constexpr CaptionedBox spacing{"lblРасстояние_между_оповещателями",
                                      resultBoxName(ResultBox::Spacing)};
} // namespace reported

struct ReportLine {
    std::string_view fixedText; // a line of its own, or
    CaptionedBox captioned;     // a caption followed by the text of its box
};

inline constexpr std::array<ReportLine, 23> kReportLines = {{
    {"Расчет уровня звукового давления, количества и мощности оповещателей", {}},
    {{}, reported::projectCode},
    {{}, reported::buildingName},
    {{}, reported::buildingAddress},
    {{}, reported::floor},
    {{}, reported::roomNumber},
    {{}, reported::roomName},
    {"Исходные данные:", {}},
    {{}, reported::area},
    {{}, reported::height},
    {{}, reported::width},
    {{}, reported::length},
    {{}, reported::sensitivity},
    {{}, reported::power},
    {{}, reported::noise},
    {{}, reported::distance},
    {"Результаты расчетов:", {}},
    {{}, reported::requiredLevel},
    {{}, reported::levelAt3m},
    {{}, reported::listenerLevel},
    {{}, reported::count},
    {{}, reported::wallDistance},
    {{}, reported::spacing},
}};

// The caption of a label or the current text of a box, by object name.
using ControlText = std::function<QString(const QString& objectName)>;

// The 23 lines of one report, each ending in CR LF. A box's text starts at
// the next 14-column print zone after its caption; line breaks inside a box
// become CR LF as well.
QString reportText(const ControlText& textOf);

// Windows-1251, the report file's encoding; a character it cannot hold is
// written as '?'.
QByteArray toWindows1251(const QString& text);

// A character of a box's text that Windows-1251 cannot hold, so that the
// report writes '?' for it, with the caption of the box it is first met in.
struct UnwritableCharacter {
    QString character; // one code point (a surrogate pair), or a lone surrogate
    QString caption;
};

// Each such character of the report's boxes once, in the order the report
// meets them; none where the report keeps every character typed.
QList<UnwritableCharacter> unwritableCharacters(const ControlText& textOf);

struct WriteFailure {
    QString path;
    QString reason; // the system's own words
};

// How long a copy waits for another that is printing into the same file.
inline constexpr std::chrono::milliseconds kLockWait{5000};

// Appends all of `bytes` to the file, holding its lock, or nothing at all
// (see appendWhole); the reason of a failure in the user's words, with how
// much of the report stays in the file where it could not be cut back.
// `system`: the native one where none is given.
std::optional<WriteFailure> appendToFile(const QString& path, const QByteArray& bytes,
                                         std::chrono::milliseconds lockWait = kLockWait,
                                         const WhileWaiting& whileWaiting = {},
                                         FileSystem* system = nullptr);

// Where a report may go. `folderWritable` tells whether the user may create
// and write files in a folder; `installed`, whether the program is the copy
// that the package or the installer put in place.
struct ReportPlace {
    QString programDir;
    QString documentsDir;
    std::function<bool(const QString& folder)> folderWritable;
    bool installed = false;
    std::chrono::milliseconds lockWait = kLockWait; // tests wait less
};

bool folderIsWritable(const QString& folder);

struct PrintOutcome {
    QString path; // where the report went, or was meant to go
    std::optional<WriteFailure> failure;
};

// Appends the report to Sample.txt beside the program; for an installed copy,
// or when the program's folder is closed to the user, to Sample.txt in the
// documents folder instead, creating that folder if need be.
// `whileWaiting` runs while another copy holds the file.
PrintOutcome printReport(const ReportPlace& place, const QByteArray& report,
                         const WhileWaiting& whileWaiting = {});

// Asks the desktop to open a file with its associated application. Behind
// an interface so that tests never start a real editor.
class FileOpener {
  public:
    virtual ~FileOpener() = default;
    // False where the system found nothing to open it with.
    virtual bool open(const QString& path) = 0;
};

} // namespace zulcalc
