#include "window/main_window.h"

#include "window/controls.h"
#include "window/fonts.h"
#include "window/message_boxes.h"
#include "window/reading_hint.h"

#include "report/utf8.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace zulcalc {

namespace {

QRect pixels(const ControlSpec& spec) {
    return {spec.left / kTwipsPerPixel, spec.top / kTwipsPerPixel, spec.width / kTwipsPerPixel,
            spec.height / kTwipsPerPixel};
}

// Enter, the keypad's too, presses a focused button, as on Windows and the
// Linux desktops. Qt's own button does so only as a dialog's "auto default",
// which would also draw it as the window's default button while focused:
// this window has none, and Enter in a box presses nothing. A key held down
// presses once.
class PushButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return QPushButton::keyPressEvent(event);
        if (!event->isAutoRepeat())
            click();
    }
};

QWidget* makeControl(const ControlSpec& spec, QWidget* parent) {
    const QString caption = qs(spec.caption);
    switch (spec.kind) {
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Label:
    case ControlKind::Title: {
        auto* label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        if (spec.kind == ControlKind::Title)
            label->setFont(titleFont());
        return label;
    }
    case ControlKind::Box:
        return new QLineEdit(parent);
    case ControlKind::ResultBox: {
        auto* box = new QLineEdit(parent);
        box->setReadOnly(true);
        return box;
    }
    case ControlKind::MultiLineBox: {
        auto* box = new QPlainTextEdit(parent);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
        return box;
    }
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::Button: {
        auto* button = new PushButton(caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    }
    return nullptr;
}

// The characters the report cannot hold, one line a box, as the user reads
// them: each in guillemets; one that would not show there (a space, a control
// or format character, a lone surrogate) by its code, and a combining mark on
// a dotted circle.
QString listOf(const QList<UnwritableCharacter>& unwritable) {
    QStringList lines;
    QString caption;
    for (const auto& [character, boxCaption] : unwritable) {
        if (lines.isEmpty() || boxCaption != caption) {
            caption = boxCaption;
            const QString name = caption.trimmed();
            lines << (name.endsWith(':') ? name.chopped(1) : name) + ':';
        }
        const char32_t code = character.size() == 2
                                  ? QChar::surrogateToUcs4(character[0], character[1])
                                  : character[0].unicode();
        const auto kind = QChar::category(code);
        if (kind == QChar::Mark_NonSpacing || kind == QChar::Mark_Enclosing)
            lines.last() += QStringLiteral(" «◌%1»").arg(character);
        else if (QChar::isPrint(code) && !QChar::isSpace(code))
            lines.last() += QStringLiteral(" «%1»").arg(character);
        else
            lines.last() += QStringLiteral(" U+%1").arg(code, 4, 16, QChar('0')).toUpper();
    }
    return lines.join('\n');
}

// While another copy holds the report file, the window goes on drawing itself
// and taking its messages (Windows calls a window that takes none for 5 s not
// responding), but what is typed or clicked meanwhile is dropped, not kept
// for after the wait, where it would land in a box or answer a message box
// unread; and the window is not closed under the print.
class InputDropped : public QObject {
  public:
    InputDropped() { QCoreApplication::instance()->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const auto type = event->type();
        if (!event->isInputEvent() && type != QEvent::Shortcut && type != QEvent::Close)
            return false;
        // An accepted override keeps a key from any shortcut; a close
        // ignored leaves the window open.
        event->setAccepted(type == QEvent::ShortcutOverride);
        return true;
    }
};

} // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("frmРасчетЗУЛ"));
    setWindowTitle(QStringLiteral("Расчет ЗУЛ"));
    setFont(dialogFont());
    buildControls();
    buildMenu();
    connectInputs();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Sized now: show() makes the native window before it lays the window
    // out, and Windows places a window by the size it is made with, Qt's
    // default 640 x 480 until then, centred; the window would then grow past
    // the right and bottom of a laptop's screen.
    adjustSize();
    control(reported::projectCode.box)->setFocus();
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    // The controls reach 15975 twips right and 9015 down; a small margin
    // beyond that keeps the frame's edge off the window border.
    client->setFixedSize(15975 / kTwipsPerPixel + 12, 9015 / kTwipsPerPixel + 10);
    setCentralWidget(client);

    std::vector<std::pair<int, QWidget*>> focusChain;
    for (const ControlSpec& spec : kControls) {
        QWidget* parent = spec.frame.empty() ? client : this->control(spec.frame);
        QWidget* control = makeControl(spec, parent);
        control->setObjectName(qs(spec.name));
        control->setGeometry(pixels(spec));
        m_controls.insert(control->objectName(), control);
        if (control->focusPolicy() != Qt::NoFocus)
            focusChain.emplace_back(spec.tab, control);
    }
    qobject_cast<QRadioButton*>(control(optionName(OptionButton::Wall)))->setChecked(true);

    // Each box the report prints is named by its label: the label is its
    // buddy, and its caption is what a screen reader says when it takes focus.
    for (const ReportLine& line : kReportLines) {
        if (line.captioned.box.empty())
            continue;
        auto* label = qobject_cast<QLabel*>(control(line.captioned.label));
        QWidget* box = control(line.captioned.box);
        label->setBuddy(box);
        box->setAccessibleName(label->text());
    }
    for (const ControlSpec& spec : kControls)
        if (spec.kind == ControlKind::Button || spec.kind == ControlKind::Option)
            control(spec.name)->setAccessibleName(qs(spec.caption));

    std::sort(focusChain.begin(), focusChain.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusChain.size(); ++i)
        setTabOrder(focusChain[i - 1].second, focusChain[i].second);

    connect(qobject_cast<QPushButton*>(control(kCalculateButton)), &QPushButton::clicked, this,
            &MainWindow::calculateAndPresent);
    connect(qobject_cast<QPushButton*>(control(kClearButton)), &QPushButton::clicked, this,
            &MainWindow::clear);
    connect(qobject_cast<QPushButton*>(control(kExitButton)), &QPushButton::clicked, this,
            &QWidget::close);
}

void MainWindow::buildMenu() {
    auto* printItem = new QAction(QStringLiteral("Печать"), this);
    printItem->setObjectName(QStringLiteral("пункт_меню_печать"));
    // No shortcut key: Печать ends the program, and a reflex Ctrl+P would end
    // the session. The keyboard reaches it through the menu bar (Alt, Enter).
    menuBar()->addAction(printItem);
    // A global menu (KDE, the appmenu panels) would take the bar out of the
    // window and export only submenus: Печать, a bare item, would be lost.
    menuBar()->setNativeMenuBar(false);
    connect(printItem, &QAction::triggered, this, &MainWindow::print);
}

void MainWindow::connectInputs() {
    for (Input input : kAllInputs) {
        QLineEdit* box = lineEdit(inputBoxName(input));
        new ReadingHint(box, [this]() -> const QIcon& { return warningSign(); });
        connect(box, &QLineEdit::textChanged, this, [this, input](const QString& text) {
            onTextChanged(m_inputs, inputBoxName(input), text.toStdString());
        });
    }
}

const QIcon& MainWindow::warningSign() {
    // Looked up once, and only when a sign is first drawn: on Windows each
    // look-up asks the shell, on Linux it searches the icon theme's folders,
    // about a quarter of the start-up, and most sessions show no sign.
    if (!m_warningSign)
        m_warningSign = style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this);
    return *m_warningSign;
}

QWidget* MainWindow::control(std::string_view objectName) const {
    return control(qs(objectName));
}

QWidget* MainWindow::control(const QString& objectName) const {
    QWidget* found = m_controls.value(objectName);
    // A misspelt name must not pass for an empty box or caption: it stops a
    // debug build, and any other says so.
    if (!found)
        qCritical("zulcalc: the window has no control named %s", qPrintable(objectName));
    Q_ASSERT_X(found, "MainWindow::control", "a name no control has");
    return found;
}

QLineEdit* MainWindow::lineEdit(std::string_view objectName) const {
    return qobject_cast<QLineEdit*>(control(objectName));
}

QString MainWindow::textOf(const QString& objectName) const {
    QWidget* control = this->control(objectName);
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(control))
        return box->text();
    if (auto* box = qobject_cast<QPlainTextEdit*>(control))
        return box->toPlainText();
    return {};
}

bool MainWindow::View::isSelected(OptionButton option) const {
    return qobject_cast<QRadioButton*>(m_window.control(optionName(option)))->isChecked();
}

void MainWindow::View::setText(ResultBox box, const std::string& text) {
    m_window.lineEdit(resultBoxName(box))->setText(QString::fromStdString(text));
}

void MainWindow::View::setBackColor(ResultBox box, std::uint32_t bgr) {
    QLineEdit* edit = m_window.lineEdit(resultBoxName(box));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base,
                     QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                            static_cast<int>((bgr >> 16) & 0xFF)));
    // The program paints only white and red, both light enough for black
    // text; the theme's own text colour may be white (a dark theme).
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
}

void MainWindow::View::warn(const std::string& prompt, std::string_view title) {
    // The lines of a warning are separated by carriage returns, which a Qt
    // message box would not break on.
    QString text = QString::fromStdString(prompt);
    text.replace(QChar('\r'), QChar('\n'));
    m_window.m_services.messages.warning(&m_window, qs(title), text);
}

void MainWindow::calculateAndPresent() {
    const auto fault = zulcalc::calculateAndPresent(m_inputs, m_results, m_view,
                                                    QLocale().decimalPoint().toStdString());
    if (!fault)
        return;
    std::vector<Input> unfilled;
    for (Input input : kAllInputs)
        if (!holdsNumber(lineEdit(inputBoxName(input))->text().toStdString()))
            unfilled.push_back(input);
    const FaultMessage message = faultMessage(*fault, unfilled);
    m_services.messages.error(this, QStringLiteral("Расчет невозможен"),
                              QString::fromStdString(message.text),
                              QString::fromStdString(message.details));
}

void MainWindow::clear() {
    for (std::string_view name : kClearedBoxes)
        lineEdit(name)->setText(QString());
}

void MainWindow::print() {
    const ControlText texts = [this](const QString& objectName) { return textOf(objectName); };
    // The user may rather go back and change them than find «?» in the file.
    if (const auto unwritable = unwritableCharacters(texts);
        !unwritable.isEmpty() &&
        !m_services.messages.question(
            this, QStringLiteral("Не все знаки войдут в отчет"),
            QStringLiteral("В кодировке отчета (Windows-1251) нет этих знаков:\n\n%1\n\n"
                           "В файле вместо каждого из них будет «?». Напечатать отчет так или "
                           "вернуться и заменить их?")
                .arg(listOf(unwritable)),
            QStringLiteral("Печатать"), QStringLiteral("Вернуться")))
        return;
    const QString report = reportText(texts);
    PrintOutcome outcome;
    {
        // Another copy may hold the file for seconds: the window looks busy,
        // not hung (see InputDropped), and the cursor is back before anything
        // else is shown.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        const InputDropped dropped;
        // Nor can a screen reader, which presses menu items directly, print again meanwhile.
        const QSignalBlocker once(findChild<QAction*>(QStringLiteral("пункт_меню_печать")));
        outcome = printReport(m_services.reportPlace, toWindows1251(report),
                              [] { QCoreApplication::processEvents(); });
    }
    if (outcome.failure) {
        m_services.messages.error(
            this, QStringLiteral("Отчет не записан"),
            QStringLiteral("Не удалось записать отчет в файл\n%1\n\nПричина: %2\n\n"
                           "Введенные данные сохранены в окне; устраните причину и "
                           "повторите печать.")
                .arg(QDir::toNativeSeparators(outcome.failure->path), outcome.failure->reason));
        return;
    }
    if (!m_services.opener.open(outcome.path))
        m_services.messages.information(
            this, QStringLiteral("Отчет записан"),
            QStringLiteral("Отчет записан в файл\n%1\n\nПрограмма, которая открыла бы его, "
                           "в системе не найдена. Откройте этот файл сами.")
                .arg(QDir::toNativeSeparators(outcome.path)));
    close();
}

} // namespace zulcalc
