#include "window/desktop_opener.h"

#include <utility>

#ifdef Q_OS_WIN
#include <QDesktopServices>
#include <QUrl>
#else
#include <QCursor>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>
#endif

namespace zulcalc {

namespace {

// The desktop entries, and their programs, of the editors that read the
// report as Latin text unless told its encoding, in a Russian session too
// (Mousepad 0.5 and 0.6, gedit 44 and 48, Pluma 1.26 on Debian 12 and 13,
// tried on the report itself); all take the same option.
constexpr std::pair<const char*, const char*> kToldEditors[] = {
    {"org.xfce.mousepad.desktop", "mousepad"},
    {"org.gnome.gedit.desktop", "gedit"},
    {"pluma.desktop", "pluma"},
};

} // namespace

std::optional<EditorStart> windows1251Start(const QString& desktopEntry, const QString& path) {
    for (const auto& [entry, program] : kToldEditors)
        if (desktopEntry == QLatin1String(entry))
            return EditorStart{program, {"--encoding=WINDOWS-1251", path}};
    return std::nullopt;
}

#ifdef Q_OS_WIN

// ShellExecute returns once the application has been started, and gives a
// value above 32 only then ("If the function succeeds, it returns a value
// greater than 32", ShellExecuteW in Microsoft's documentation); Qt's
// openUrl returns false for any other (qwindowsservices.cpp, Qt 6.4 and
// 6.8). So its answer is the system's own, and nothing is added here.
bool DesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

#else

namespace {

// A launcher hands the file over and returns (xdg-open failed to find
// anything in 3 s on a loaded machine); one still running after this has
// started what opens the file, as xdg-open with no desktop environment runs
// the editor itself until it is closed, and is left to run.
constexpr std::chrono::milliseconds kLauncherWait{5000};
// An editor refuses an option at once (in well under a second), or hands
// the file to one already running and ends, or stays to show it.
constexpr std::chrono::milliseconds kEditorWait{2000};

// Until `done`, for `wait` at most: the window is painted meanwhile, under
// the wait cursor, and what the user types waits until it is over.
bool waitPainted(const std::function<bool()>& done, std::chrono::milliseconds wait) {
    if (done())
        return true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    const QDeadlineTimer deadline(wait);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(std::chrono::milliseconds(20));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done();
}

// The desktop entry of the desktop's text editor, as the launcher finds it.
QString defaultTextEditor() {
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/plain"});
    if (!waitPainted([&] { return query.state() == QProcess::NotRunning; }, kLauncherWait)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// Starts a program for the user, in a session of its own so that it
// outlives this one and no signal meant for this one reaches it; true where
// it ends well within `wait`, or is still at work then.
bool launched(const QString& program, const QStringList& arguments,
              std::chrono::milliseconds wait) {
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    std::optional<int> status;
    const auto ended = [&] {
        int got = 0;
        if (!status && waitpid(pid, &got, WNOHANG) == pid)
            status = got;
        return status.has_value();
    };
    return !waitPainted(ended, wait) || (WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

} // namespace

// xdg-open is asked itself, not through Qt, which reports only that it
// started: where it finds nothing to open a text file with it exits with 3
// (4 where the editor failed, 2 where the file is gone), and the user must
// then be told where the report is. An editor known to need the report's
// encoding is started with it; one that refuses is left to xdg-open.
bool DesktopOpener::open(const QString& path) {
    if (const auto editor = windows1251Start(defaultTextEditor(), path))
        if (launched(editor->program, editor->arguments, kEditorWait))
            return true;
    return launched("xdg-open", {path}, kLauncherWait);
}

#endif

} // namespace zulcalc
