#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs run() (which shows dialog modally, e.g. EditSettings) and, once the dialog's own
// event loop is running, makes it the active window and hands it to interact() for real
// key presses and clicks. A dialog that interact() left open (a failed check) is closed
// with result -1, so a broken test fails instead of hanging.
inline int DriveModal(QDialog& dialog, const std::function<int()>& run,
                      const std::function<void()>& interact)
{
    QTimer::singleShot(0, &dialog, [&] {
        if (QApplication::activeModalWidget() == &dialog) {
            dialog.activateWindow();
            if (QTest::qWaitForWindowActive(&dialog))
                interact();
        }
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return run();
}

// Runs act(), which opens a modal window (a dialog, Qt's file or print dialog, a message
// box) and waits in it; once the window is open, hands it to look() and closes it if look()
// left it open. Returns whether a window opened. The window is looked for at each turn of
// the event loop, as act() may run loops of its own (a database opened) before it opens.
inline bool WhileModalOpen(const std::function<void()>& act,
                           const std::function<void(QWidget&)>& look)
{
    QWidget* const before = QApplication::activeModalWidget();
    bool seen = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == before)
            return;
        poll.stop();
        seen = true;
        look(*modal);
        if (modal->isVisible())
            modal->close();
    });
    poll.start();
    act();
    poll.stop();
    return seen;
}

// The widget that has the keyboard focus now, where typed keys go.
inline QWidget* Focused()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w : QApplication::activeWindow();
}

// Types text into the focused widget one key at a time (also non-ASCII letters, which
// QTest::keyClicks does not take).
inline void Type(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(Focused(), char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::KeyAction::Press, Focused(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
            QTest::sendKeyEvent(QTest::KeyAction::Release, Focused(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

// Presses key (with modifiers) on the focused widget.
inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Focused(), key, modifiers);
}
