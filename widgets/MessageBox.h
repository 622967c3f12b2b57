#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every message box of the program goes through MessageDlg, so that tests can answer
// them (MessageBoxRecorder) and nothing modal ever blocks a test run.
//
// Call only on the thread that owns the user interface.

// The kind sets the icon and the title.
enum TMsgKind
{
    mkInformation,  // "Informacja", information icon
    mkError,        // "Błąd", error icon
    mkConfirmation, // "Potwierdź", question icon
    mkProgram       // "Zorvex" (the program's title), error icon: the error guard's box
};

// Buttons, combined with | into TMsgButtons; also the answer of MessageDlg.
// They are shown in the order Yes, No, OK, Cancel, captioned "&Tak", "&Nie", "OK", "Anuluj".
enum TMsgButton : unsigned
{
    mbNone = 0,
    mbYes = 1,
    mbNo = 2,
    mbOk = 4,
    mbCancel = 8
};
using TMsgButtons = unsigned;

// What a box shows, as handed to the seam.
struct TMessageRequest
{
    TMsgKind kind = mkInformation;
    QString title; // derived from kind
    QString text;
    QString details; // shown on request under the text (Qt's "Pokaż szczegóły..."); may be empty
    TMsgButtons buttons = mbOk;
    QStringList captions; // captions of the buttons, in the order shown
};

// Shows a modal box over parent (or the active window) and returns the button pressed.
// The default button is the first one shown (Yes or OK). Escape or closing the box answers
// Cancel when the box has it, else No, else OK. An empty buttons set shows OK alone.
TMsgButton MessageDlg(TMsgKind kind, const QString& text, TMsgButtons buttons = mbOk,
                      QWidget* parent = nullptr);
// The same with details: words the user needs only to pass on (a server's own message),
// kept out of the text and shown under it on request.
TMsgButton MessageDlg(TMsgKind kind, const QString& text, const QString& details,
                      TMsgButtons buttons, QWidget* parent = nullptr);

// Shorthand: information box with OK.
void ShowMessage(const QString& text, QWidget* parent = nullptr);

// Builds what a box would show (title and captions) without showing it.
TMessageRequest DescribeMessage(TMsgKind kind, const QString& text, TMsgButtons buttons);

// The seam. A handler replaces the real boxes; it returns the answer. Install returns the
// previous handler; an empty handler restores the real boxes. Tests use MessageBoxRecorder
// rather than calling this directly.
using TMessageHandler = std::function<TMsgButton(const TMessageRequest&)>;
TMessageHandler InstallMessageHandler(TMessageHandler handler);
