#pragma once

#include "calc/inputs.h"
#include "calc/presentation.h"
#include "report/report.h"

#include <array>
#include <string_view>

namespace zulcalc {

enum class ControlKind { Frame, Label, Title, Box, MultiLineBox, ResultBox, Option, Button };

// One control of the window. Positions in twips (15 to a logical pixel),
// inside its frame when `frame` is set, else in the client area below the
// menu bar. `tab` is the keyboard order; labels and frames never take focus.
// The names and captions that the calculation or the report also use come
// from calc/ and report/, so each is written once.
struct ControlSpec {
    std::string_view name;
    ControlKind kind;
    std::string_view frame;
    std::string_view caption;
    int left, top, width, height;
    int tab;
};

inline constexpr int kTwipsPerPixel = 15;

// The frame of the controls that sit directly in the client area.
inline constexpr std::string_view kClientArea{};
inline constexpr std::string_view kInputFrame = "frmИсходные_данные";
inline constexpr std::string_view kResultFrame = "frmРезультат";
inline constexpr std::string_view kCalculateButton = "CmdРасчет";
inline constexpr std::string_view kClearButton = "CmdОчистить";
inline constexpr std::string_view kExitButton = "CmdВыход";

// Frames first, so the controls inside them have their parent ready.
inline constexpr std::array<ControlSpec, 51> kControls = {{
    {kInputFrame, ControlKind::Frame, kClientArea, "Исходные данные", 360, 720, 9495, 7815, 0},
    {kResultFrame, ControlKind::Frame, kClientArea, "Результаты расчета", 10080, 720, 5895, 6375,
     31},
    {"lblРасчетЗУЛ", ControlKind::Title, kClientArea, "Расчет ЗУЛ", 8040, 120, 1815, 375, 30},
    {kClearButton, ControlKind::Button, kClientArea, "Очистить", 11640, 7440, 1335, 375, 44},
    {kExitButton, ControlKind::Button, kClientArea, "Выход", 13320, 7440, 1335, 375, 45},
    {kCalculateButton, ControlKind::Button, kClientArea, "Расчет", 10080, 7440, 1215, 375, 46},
    {"LblАдрес", ControlKind::Label, kClientArea, "zulcalc.example.org", 360, 120, 2055, 255, 49},
    {"LblПримечание", ControlKind::Label, kClientArea,
     "Примечание: при расчете считается, что настенные оповещатели установлены на стандартной "
     "высоте - 2.3 м. ",
     360, 8760, 8535, 255, 50},
    {reported::projectCode.label, ControlKind::Label, kInputFrame, "Шифр проекта:", 240, 240, 1215,
     255, 1},
    {reported::projectCode.box, ControlKind::Box, kInputFrame, "", 2040, 240, 7335, 285, 2},
    {reported::buildingName.label, ControlKind::Label, kInputFrame,
     "Наименование здания (сооружения)", 120, 840, 1935, 615, 3},
    {reported::buildingName.box, ControlKind::MultiLineBox, kInputFrame, "", 2040, 840, 7335, 495,
     4},
    {reported::buildingAddress.label, ControlKind::Label, kInputFrame, "Адрес здания (сооружения)",
     240, 1800, 1815, 615, 5},
    {reported::buildingAddress.box, ControlKind::MultiLineBox, kInputFrame, "", 2040, 1680, 7335,
     855, 6},
    {reported::floor.label, ControlKind::Label, kInputFrame, "№ этажа", 240, 2880, 1335, 375, 7},
    {reported::floor.box, ControlKind::Box, kInputFrame, "", 1080, 2880, 1095, 375, 8},
    {reported::roomNumber.label, ControlKind::Label, kInputFrame, "№ помещения по плану", 2520,
     2880, 2055, 375, 9},
    {reported::roomNumber.box, ControlKind::Box, kInputFrame, "", 4560, 2880, 855, 375, 10},
    {reported::roomName.label, ControlKind::Label, kInputFrame,
     "Наименование помещения по экспликации", 120, 3360, 2655, 495, 11},
    {reported::roomName.box, ControlKind::Box, kInputFrame, "", 2640, 3360, 6735, 855, 12},
    {reported::area.label, ControlKind::Label, kInputFrame, "Площадь помещения, кв. м.", 120, 4440,
     1575, 495, 13},
    {reported::area.box, ControlKind::Box, kInputFrame, "", 2040, 4440, 975, 495, 14},
    {reported::height.label, ControlKind::Label, kInputFrame, inputCaption(Input::H), 3600, 4440,
     1575, 375, 15},
    {reported::height.box, ControlKind::Box, kInputFrame, "", 5280, 4440, 735, 375, 16},
    {reported::width.label, ControlKind::Label, kInputFrame, inputCaption(Input::W), 6360, 4440,
     1215, 375, 17},
    {reported::width.box, ControlKind::Box, kInputFrame, "", 7800, 4320, 735, 495, 18},
    {reported::length.label, ControlKind::Label, kInputFrame, inputCaption(Input::L), 120, 5160,
     1455, 495, 19},
    {reported::length.box, ControlKind::Box, kInputFrame, "", 1680, 5160, 855, 495, 20},
    {reported::sensitivity.label, ControlKind::Label, kInputFrame, inputCaption(Input::S), 2880,
     5160, 2655, 615, 21},
    {reported::sensitivity.box, ControlKind::Box, kInputFrame, "", 5880, 5160, 1095, 375, 22},
    {reported::power.label, ControlKind::Label, kInputFrame, inputCaption(Input::P), 120, 5880,
     2655, 495, 23},
    {reported::power.box, ControlKind::Box, kInputFrame, "", 2520, 5880, 855, 615, 24},
    {reported::noise.label, ControlKind::Label, kInputFrame, inputCaption(Input::N), 4320, 5880,
     3135, 495, 25},
    {reported::noise.box, ControlKind::Box, kInputFrame, "", 7440, 5880, 1335, 495, 26},
    {"lblТип", ControlKind::Label, kInputFrame, "Тип оповещетеля", 240, 6840, 1575, 375, 27},
    {optionName(OptionButton::Wall), ControlKind::Option, kInputFrame, "Настенный", 1800, 6720,
     1335, 495, 28},
    {optionName(OptionButton::Ceiling), ControlKind::Option, kInputFrame, "Потолочный", 1800, 7200,
     1335, 615, 29},
    {reported::distance.label, ControlKind::Label, kInputFrame, inputCaption(Input::r), 4320, 6720,
     2535, 495, 47},
    {reported::distance.box, ControlKind::Box, kInputFrame, "", 7080, 6600, 1815, 615, 48},
    {reported::requiredLevel.label, ControlKind::Label, kResultFrame,
     "Требуемый уровень звука в точке стояния слушателя, дБ", 240, 600, 3855, 615, 32},
    {reported::requiredLevel.box, ControlKind::ResultBox, kResultFrame, "", 4440, 600, 1095, 615,
     33},
    {reported::levelAt3m.label, ControlKind::Label, kResultFrame,
     "Расчетный уровень звука на расстоянии 3 м. от оповещателя, дБ (по СП 3.13130-2009 п.4.1)",
     240, 1560, 3255, 615, 34},
    {reported::levelAt3m.box, ControlKind::ResultBox, kResultFrame, "", 4440, 1560, 1095, 615, 35},
    {reported::listenerLevel.label, ControlKind::Label, kResultFrame,
     "Расчетный уровень звука в точке стояния слушателя, дБ (по СП 3.13130-2009 п. 4.2 и 4.3)", 240,
     2760, 3255, 735, 36},
    {reported::listenerLevel.box, ControlKind::ResultBox, kResultFrame, "", 4440, 2760, 1095, 615,
     37},
    {reported::count.label, ControlKind::Label, kResultFrame,
     "Требуемое количество оповещателей для озвучивания помещения, шт", 240, 3720, 3375, 855, 38},
    {reported::count.box, ControlKind::ResultBox, kResultFrame, "", 4440, 3720, 1095, 615, 39},
    {reported::wallDistance.label, ControlKind::Label, kResultFrame,
     "Расстояние от оповещателя до стены, м", 240, 4440, 3495, 735, 40},
    {reported::wallDistance.box, ControlKind::ResultBox, kResultFrame, "", 4440, 4560, 1095, 615,
     41},
    {reported::spacing.label, ControlKind::Label, kResultFrame, "Расстояние между оповещателями, м",
     240, 5520, 4095, 615, 42},
    {reported::spacing.box, ControlKind::ResultBox, kResultFrame, "", 4440, 5520, 1095, 615, 43},
}};

// Emptied by Clear, in this order: the seven numeric inputs, then the results.
inline constexpr std::array<std::string_view, 13> kClearedBoxes = {
    inputBoxName(Input::H),
    inputBoxName(Input::L),
    inputBoxName(Input::P),
    inputBoxName(Input::N),
    inputBoxName(Input::r),
    inputBoxName(Input::S),
    inputBoxName(Input::W),
    resultBoxName(ResultBox::RequiredLevel),
    resultBoxName(ResultBox::Count),
    resultBoxName(ResultBox::WallDistance),
    resultBoxName(ResultBox::Spacing),
    resultBoxName(ResultBox::LevelAt3m),
    resultBoxName(ResultBox::ListenerLevel),
};

} // namespace zulcalc
