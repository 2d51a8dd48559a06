#pragma once

#include <array>
#include <utility>

namespace zulcalc {

enum class ControlKind { Frame, Label, Title, Box, MultiLineBox, ResultBox, Option, Button };

// One control of the window. Positions in twips (15 to a logical pixel),
// inside its frame when `frame` is set, else in the client area below the
// menu bar. `tab` is the keyboard order; labels and frames never take focus.
struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* frame;
    const char* caption;
    int left, top, width, height;
    int tab;
};

inline constexpr int kTwipsPerPixel = 15;

inline constexpr const char* kInputFrame = "frmИсходные_данные";
inline constexpr const char* kResultFrame = "frmРезультат";

// Frames first, so the controls inside them have their parent ready.
inline constexpr std::array<ControlSpec, 51> kControls = {{
    {"frmИсходные_данные", ControlKind::Frame, nullptr, "Исходные данные", 360, 720, 9495, 7815, 0},
    {"frmРезультат", ControlKind::Frame, nullptr, "Результаты расчета", 10080, 720, 5895, 6375, 31},
    {"lblРасчетЗУЛ", ControlKind::Title, nullptr, "Расчет ЗУЛ", 8040, 120, 1815, 375, 30},
    {"CmdОчистить", ControlKind::Button, nullptr, "Очистить", 11640, 7440, 1335, 375, 44},
    {"CmdВыход", ControlKind::Button, nullptr, "Выход", 13320, 7440, 1335, 375, 45},
    {"CmdРасчет", ControlKind::Button, nullptr, "Расчет", 10080, 7440, 1215, 375, 46},
    {"LblАдрес", ControlKind::Label, nullptr, "zulcalc.example.org", 360, 120, 2055, 255, 49},
    {"LblПримечание", ControlKind::Label, nullptr,
     "Примечание: при расчете считается, что настенные оповещатели установлены на стандартной "
     "высоте - 2.3 м. ",
     360, 8760, 8535, 255, 50},
    {"lblШифр_проекта", ControlKind::Label, kInputFrame, "Шифр проекта:", 240, 240, 1215, 255, 1},
    {"txtЗначение_шифр_проекта", ControlKind::Box, kInputFrame, "", 2040, 240, 7335, 285, 2},
    {"lblнаименование_здания", ControlKind::Label, kInputFrame, "Наименование здания (сооружения)",
     120, 840, 1935, 615, 3},
    {"txtЗначение_Наименование_здания", ControlKind::MultiLineBox, kInputFrame, "", 2040, 840, 7335,
     495, 4},
    {"lblАдрес_здания", ControlKind::Label, kInputFrame, "Адрес здания (сооружения)", 240, 1800,
     1815, 615, 5},
    {"txtЗначение_Адрес_здания", ControlKind::MultiLineBox, kInputFrame, "", 2040, 1680, 7335, 855,
     6},
    {"lbl№этажа", ControlKind::Label, kInputFrame, "№ этажа", 240, 2880, 1335, 375, 7},
    {"txtЗначение_№_этажа", ControlKind::Box, kInputFrame, "", 1080, 2880, 1095, 375, 8},
    {"lbl№помещения", ControlKind::Label, kInputFrame, "№ помещения по плану", 2520, 2880, 2055,
     375, 9},
    {"txtЗначение_№_помещения", ControlKind::Box, kInputFrame, "", 4560, 2880, 855, 375, 10},
    {"lblНаименованиепомещения", ControlKind::Label, kInputFrame,
     "Наименование помещения по экспликации", 120, 3360, 2655, 495, 11},
    {"txtНаименование_помещения", ControlKind::Box, kInputFrame, "", 2640, 3360, 6735, 855, 12},
    {"lblПлощадь", ControlKind::Label, kInputFrame, "Площадь помещения, кв. м.", 120, 4440, 1575,
     495, 13},
    {"txtЗначение_Площадь", ControlKind::Box, kInputFrame, "", 2040, 4440, 975, 495, 14},
    {"lblВысота", ControlKind::Label, kInputFrame, "Высота потолка, м.", 3600, 4440, 1575, 375, 15},
    {"txtЗначение_Высота", ControlKind::Box, kInputFrame, "", 5280, 4440, 735, 375, 16},
    {"lblШирина", ControlKind::Label, kInputFrame, "Ширина помещения, м.", 6360, 4440, 1215, 375,
     17},
    {"txtЗначение_Ширина", ControlKind::Box, kInputFrame, "", 7800, 4320, 735, 495, 18},
    {"lblДлина", ControlKind::Label, kInputFrame, "Длина помещения, м", 120, 5160, 1455, 495, 19},
    {"txtЗначение_Длина", ControlKind::Box, kInputFrame, "", 1680, 5160, 855, 495, 20},
    {"lblЧувствительность", ControlKind::Label, kInputFrame,
     "Чувствительность оповещателя (по паспорту), дБ", 2880, 5160, 2655, 615, 21},
    {"txtЗначение_Чувствительность", ControlKind::Box, kInputFrame, "", 5880, 5160, 1095, 375, 22},
    {"lblМощность", ControlKind::Label, kInputFrame, "Мощность оповещателя (по паспорту), Вт", 120,
     5880, 2655, 495, 23},
    {"txtЗначение_Мощность", ControlKind::Box, kInputFrame, "", 2520, 5880, 855, 615, 24},
    {"lblФон", ControlKind::Label, kInputFrame, "Уровень фонового шума в помещении, дБ ", 4320,
     5880, 3135, 495, 25},
    {"txtЗначение_Уровень", ControlKind::Box, kInputFrame, "", 7440, 5880, 1335, 495, 26},
    {"lblТип", ControlKind::Label, kInputFrame, "Тип оповещетеля", 240, 6840, 1575, 375, 27},
    {"OptНастенный", ControlKind::Option, kInputFrame, "Настенный", 1800, 6720, 1335, 495, 28},
    {"OptПотолочный", ControlKind::Option, kInputFrame, "Потолочный", 1800, 7200, 1335, 615, 29},
    {"lblРастояние_оповещатель_слушатель", ControlKind::Label, kInputFrame,
     "Расстояние от оповещателя до слушателя, м", 4320, 6720, 2535, 495, 47},
    {"txtЗначение_расстояния_оповещатель_слушатель", ControlKind::Box, kInputFrame, "", 7080, 6600,
     1815, 615, 48},
    {"lblТребуемый_уровень_в_точке", ControlKind::Label, kResultFrame,
     "Требуемый уровень звука в точке стояния слушателя, дБ", 240, 600, 3855, 615, 32},
    {"txtЗначение_требуемого_уровня_в_точке", ControlKind::ResultBox, kResultFrame, "", 4440, 600,
     1095, 615, 33},
    {"lblЗвук_на_3_м", ControlKind::Label, kResultFrame,
     "Расчетный уровень звука на расстоянии 3 м. от оповещателя, дБ (по СП 3.13130-2009 п.4.1)",
     240, 1560, 3255, 615, 34},
    {"txtЗначение_звука_на_3_м", ControlKind::ResultBox, kResultFrame, "", 4440, 1560, 1095, 615,
     35},
    {"lblЗвук_в_расчетной_точке", ControlKind::Label, kResultFrame,
     "Расчетный уровень звука в точке стояния слушателя, дБ (по СП 3.13130-2009 п. 4.2 и 4.3)", 240,
     2760, 3255, 735, 36},
    {"txtЗначение_уровня_звука_в_расчетной_точке", ControlKind::ResultBox, kResultFrame, "", 4440,
     2760, 1095, 615, 37},
    {"lblКоличество_оповещателей", ControlKind::Label, kResultFrame,
     "Требуемое количество оповещателей для озвучивания помещения, шт", 240, 3720, 3375, 855, 38},
    {"txtЗначение_колличества_оповещателей", ControlKind::ResultBox, kResultFrame, "", 4440, 3720,
     1095, 615, 39},
    {"lblРасстояние_до_стены", ControlKind::Label, kResultFrame,
     "Расстояние от оповещателя до стены, м", 240, 4440, 3495, 735, 40},
    {"txtЗначение_расстояния_до_стены", ControlKind::ResultBox, kResultFrame, "", 4440, 4560, 1095,
     615, 41},
    {"lblРасстояние_между_оповещателями", ControlKind::Label, kResultFrame,
     "Расстояние между оповещателями, м", 240, 5520, 4095, 615, 42},
    {"txtЗначение_расстояния_между_оповещателями", ControlKind::ResultBox, kResultFrame, "", 4440,
     5520, 1095, 615, 43},
}};

// Emptied by Clear, in this order: the seven numeric inputs, then the results.
inline constexpr std::array<const char*, 13> kClearedBoxes = {
    "txtЗначение_Высота",
    "txtЗначение_Длина",
    "txtЗначение_Мощность",
    "txtЗначение_Уровень",
    "txtЗначение_расстояния_оповещатель_слушатель",
    "txtЗначение_Чувствительность",
    "txtЗначение_Ширина",
    "txtЗначение_требуемого_уровня_в_точке",
    "txtЗначение_колличества_оповещателей",
    "txtЗначение_расстояния_до_стены",
    "txtЗначение_расстояния_между_оповещателями",
    "txtЗначение_звука_на_3_м",
    "txtЗначение_уровня_звука_в_расчетной_точке",
};

} // namespace zulcalc

namespace zulcalc {

// Each box and the label that names it: the label is its buddy, and its
// caption is what a screen reader says when the box takes focus.
inline constexpr std::array<std::pair<const char*, const char*>, 20> kCaptionedBoxes = {{
    {"lblШифр_проекта", "txtЗначение_шифр_проекта"},
    {"lblнаименование_здания", "txtЗначение_Наименование_здания"},
    {"lblАдрес_здания", "txtЗначение_Адрес_здания"},
    {"lbl№этажа", "txtЗначение_№_этажа"},
    {"lbl№помещения", "txtЗначение_№_помещения"},
    {"lblНаименованиепомещения", "txtНаименование_помещения"},
    {"lblПлощадь", "txtЗначение_Площадь"},
    {"lblВысота", "txtЗначение_Высота"},
    {"lblШирина", "txtЗначение_Ширина"},
    {"lblДлина", "txtЗначение_Длина"},
    {"lblЧувствительность", "txtЗначение_Чувствительность"},
    {"lblМощность", "txtЗначение_Мощность"},
    {"lblФон", "txtЗначение_Уровень"},
    {"lblРастояние_оповещатель_слушатель", "txtЗначение_расстояния_оповещатель_слушатель"},
    {"lblТребуемый_уровень_в_точке", "txtЗначение_требуемого_уровня_в_точке"},
    {"lblЗвук_на_3_м", "txtЗначение_звука_на_3_м"},
    {"lblЗвук_в_расчетной_точке", "txtЗначение_уровня_звука_в_расчетной_точке"},
    {"lblКоличество_оповещателей", "txtЗначение_колличества_оповещателей"},
    {"lblРасстояние_до_стены", "txtЗначение_расстояния_до_стены"},
    {"lblРасстояние_между_оповещателями", "txtЗначение_расстояния_между_оповещателями"},
}};

} // namespace zulcalc
