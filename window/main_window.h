#pragma once

#include "calc/presentation.h"
#include "report/report.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include <optional>

class QLineEdit;

namespace zulcalc {

class MessageBoxes;

struct WindowServices {
    MessageBoxes& messages;
    FileOpener& opener;
    ReportPlace reportPlace;
};

// The one window of the program.
//
// Flow: input -> parse -> calculate -> present.
//  - Every text change of the seven numeric boxes is parsed at once into
//    m_inputs (the calculation never reads the boxes); while a box holds
//    text it does not read (a decimal comma, a letter O for a zero), a
//    warning sign beside it holds the hint.
//  - Расчет runs calculate() on m_inputs into m_results; a fault is shown
//    in a message box (which boxes to fill in, or which value to check; the
//    step in its details) and changes nothing else. Otherwise present()
//    judges the levels and writes the result boxes back through Окно_расчета.
//  - Печать (no shortcut key: Alt, then Enter) reads the captions and box
//    texts as they stand, appends the report (the wait cursor while another
//    copy holds the file), hands the file to the desktop (or says where it
//    is, if nothing there opens it) and closes the window; if the report
//    cannot be written the window stays open with everything typed.
//  - Очистить empties the numeric and result boxes; Выход closes.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);

    const Исходные_значения& inputs() const { return m_inputs; }
    const Расчетные_величины& results() const { return m_results; }

  public slots:
    void calculateAndPresent();
    void clear();
    void print();

  private:
    void buildControls();
    void buildMenu();
    void connectInputs();
    // The style's warning sign, as the warning boxes show it.
    const QIcon& warningSign();
    // The control of that name; there is always one (asserted).
    QWidget* control(std::string_view objectName) const;
    QWidget* control(const QString& objectName) const;
    QString textOf(const QString& objectName) const;
    QLineEdit* lineEdit(std::string_view objectName) const;

    // Окно_расчета over this window's controls.
    class View : public Окно_расчета {
      public:
        explicit View(MainWindow& window) : m_window(window) {}
        bool isSelected(OptionButton option) const override;
        void setText(ResultBox box, const std::string& text) override;
        void setBackColor(ResultBox box, std::uint32_t bgr) override;
        void warn(const std::string& prompt, std::string_view title) override;

      private:
        MainWindow& m_window;
    };

    WindowServices m_services;
    View m_view{*this};
    Исходные_значения m_inputs;
    Расчетные_величины m_results;
    QHash<QString, QWidget*> m_controls;
    std::optional<QIcon> m_warningSign;
};

} // namespace zulcalc
