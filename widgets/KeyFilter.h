#pragma once

#include <QChar>
#include <QObject>

#include <functional>

class QWidget;

// Runs an editor's key filter (Edit1KeyPress and the like) on every character the user
// types into the widgets it is attached to (QLineEdit, QPlainTextEdit, QTextEdit, spin
// boxes, editable combo boxes). The filter gets the typed character and may:
//   - leave it: the character is typed as usual;
//   - set it to '\0' (QChar()): the character is discarded;
//   - change it (e.g. to upper case): the changed character is typed instead.
// Backspace always passes without reaching the filter, and so do other control keys
// (Enter, Escape, Tab, Ctrl+C, Ctrl+V): only printable characters of key presses are
// filtered. Pasted text is not a key press and is not filtered.
//
// One KeyFilter may serve all like fields of a dialog. It is a child of parent (usually
// the dialog) and must outlive the widgets' key events. UI thread only.
class KeyFilter : public QObject
{
    Q_OBJECT
public:
    using Filter = std::function<void(QChar& key)>;

    explicit KeyFilter(Filter filter, QObject* parent = nullptr);

    // Installs the filter on widget.
    void Attach(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Filter m_filter;
    bool m_forwarding = false;
};
