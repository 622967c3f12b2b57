#include "app/WindowCheck.h"

#include "app/UnitMainForm.h"
#include "app/files/FileDialogs.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace {

constexpr int kLimitMs = 60000;

struct CheckRun
{
    QFile log;
    QString saveName;
    MessageBoxRecorder boxes;

    void Line(const QString& text)
    {
        log.write((text + u'\n').toUtf8());
        log.flush();
    }
};

// The action the F5 key triggers.
QAction* KeyAction(TMainFormZORVEX& window, Qt::Key key)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (action->shortcut() == QKeySequence(key))
            return action;
    return nullptr;
}

void Save(TMainFormZORVEX& window, CheckRun& run)
{
    const QString name = run.saveName;
    const FileDialogHandler previous =
        InstallFileDialogHandler([name](const FileDialogRequest&) { return name; });
    if (QAction* save = window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku")))
        save->trigger();
    InstallFileDialogHandler(previous);
    run.Line(QStringLiteral("saved: ") + window.FileName());
    QApplication::quit();
}

void Read(TMainFormZORVEX& window, CheckRun& run)
{
    TMainFormZORVEX* const shown = &window;
    CheckRun* const checked = &run;
    QObject::connect(&window.Document(), &ConfigDocument::exchangeFinished, &window,
                     [shown, checked](const ExchangeOutcome& outcome) {
                         checked->Line(QStringLiteral("read: ") + (outcome.succeeded
                                                                       ? QStringLiteral("ok")
                                                                       : outcome.message));
                         // After the window's own handling of the end has run, once.
                         QObject::disconnect(&shown->Document(), &ConfigDocument::exchangeFinished,
                                             shown, nullptr);
                         QTimer::singleShot(0, shown, [shown, checked] { Save(*shown, *checked); });
                     });
    QAction* read = KeyAction(window, Qt::Key_F5);
    if (!read) {
        run.Line(QStringLiteral("read: no F5 action"));
        QApplication::exit(1);
        return;
    }
    read->trigger();
}

} // namespace

void StartWindowCheck(TMainFormZORVEX& window)
{
    const QString logName = qEnvironmentVariable("ZVX_WINDOW_CHECK_LOG");
    const QString saveName = qEnvironmentVariable("ZVX_WINDOW_CHECK_SAVE");
    if (logName.isEmpty() || saveName.isEmpty())
        return;
    // Lives as long as the application: the steps run from its event loop.
    auto* run = new CheckRun;
    QObject::connect(qApp, &QObject::destroyed, [run] { delete run; });
    run->saveName = saveName;
    run->log.setFileName(logName);
    run->log.open(QIODevice::WriteOnly | QIODevice::Truncate);
    run->boxes.OnShow(
        [run](const TMessageRequest& box) { run->Line(QStringLiteral("box: ") + box.text); });
    // Bound to the window: a run ends with it.
    QTimer::singleShot(kLimitMs, &window, [run] {
        run->Line(QStringLiteral("timeout"));
        QApplication::exit(1);
    });
    // The about box of the first activation: noted and closed once it shows, then the read.
    // Captured by pointer: the window outlives the run, this function's frame does not.
    TMainFormZORVEX* const shown = &window;
    window.ShowAboutBox = [shown, run, showAbout = window.ShowAboutBox] {
        QTimer::singleShot(0, shown, [run] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            run->Line(QStringLiteral("about: ") + (about ? about->windowTitle() : QString()));
            if (about)
                about->reject();
        });
        if (showAbout)
            showAbout();
        QTimer::singleShot(0, shown, [shown, run] { Read(*shown, *run); });
    };
}
