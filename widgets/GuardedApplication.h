#pragma once

#include <QApplication>

// The application object of the program: every event is delivered inside the error
// guard, so an exception thrown by a slot, an event handler or a timer tick is shown in
// the error box titled "Zorvex" instead of crossing Qt's event loop, and the program goes
// on. The event that failed counts as not handled.
//
// This is the last line of defence: Qt's own frames between notify() and the throwing
// code are not unwound cleanly, so handlers that can fail in the ordinary course (file
// errors, port errors) should catch through ErrorGuard::RunGuarded themselves.
// The constructor also installs the guard as the ErrorSink handler.
class GuardedApplication : public QApplication
{
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
