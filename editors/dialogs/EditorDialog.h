#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

struct EditorField;
class QLabel;
class QLayout;
class QPushButton;

// Base of the editor dialogs: a fixed-size dialog centred on the screen with the buttons
// BitBtn1 "&OK" (default button, Enter; modal result 1) and BitBtn2 "&Anuluj" (Esc;
// modal result 2). Closing the window is Cancel. OK asks CanClose first: a dialog whose
// fields do not pass its checks says why, focuses the field and stays open with what
// the user typed, which is the same as showing it again.
//
// A derived dialog builds its controls in its constructor, hands them to SetBody, and in
// its EditSettings copies its fields in, calls ShowModal and stores only on mrOk.
// UI thread only.
class EditorDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    // The manual's page that F1 opens in the dialog of that caption: "<area key>.html",
    // "index.html" for a caption no area has.
    static QString HelpPage(const QString& caption);

protected:
    EditorDialog(const QString& caption, QWidget* parent);

    // What a control shows for its field: the label ("&" marks the accelerator) and the
    // items of a list or group.
    static QString FieldLabel(const EditorField& field);
    static QStringList FieldItems(const EditorField& field);

    // A label with the system's object name whose accelerator focuses buddy.
    static QLabel* NewLabel(const QString& text, const QString& name, QWidget* buddy,
                            QWidget* parent);

    // Lays out body above the row of buttons and fixes the dialog's size.
    void SetBody(QLayout* body);
    // Places button between OK and Cancel (a reset button, say). Call before SetBody.
    void AddButton(QPushButton* button);
    // Runs the dialog modally: mrOk once CanClose accepted, else mrCancel.
    int ShowModal();
    // Whether OK may close the dialog. Runs inside the error guard: an exception is shown
    // and keeps the dialog open.
    virtual bool CanClose() { return true; }
    // Makes Enter in a multi-line field press OK instead of starting a new line.
    void EnterPressesOk(QWidget* field);
    // Discards Ctrl+A, C, V, X, Y and Z in a field whose key filter refuses control
    // characters, as the dialer's editors always have: they arrive as characters the
    // filter does not let through. The context menu still pastes.
    void DiscardControlCharacters(QWidget* field);

    void reject() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void BitBtn1Click();
    // The first control after the buttons in Tab order takes the focus; none in a dialog
    // without fields, which then opens on its default button.
    void FocusFirstField();

    QList<QPushButton*> m_extraButtons;
    QList<QObject*> m_enterFields;
    QList<QObject*> m_plainFields;
};
