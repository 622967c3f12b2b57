#pragma once

#include "editors/dialogs/EditorDialog.h"

#include <QChar>

class QLabel;
class QPlainTextEdit;
class TZorvexSettings;

// "Komunikat do stacji POLPAGER": the message sent to the paging stations, stored as its
// keypad code (see PolpagerCode.h), with the numbers of the two stations shown read-only.
// UI thread only.
class TFormPolpager : public EditorDialog
{
    Q_OBJECT

public:
    explicit TFormPolpager(QWidget* parent = nullptr);

    // Shows the dialog over the settings; only OK (result 1) writes the message back.
    // A message whose code is too long is refused and the dialog stays open with it.
    int EditSettings(TZorvexSettings& settings);

    // Key filter of Memo1: what the message's field table lets through (the keypad
    // alphabet, no Q, no Z, in upper case; digits; the space), up to its length.
    void Memo1KeyPress(QObject* sender, QChar& key);

protected:
    bool CanClose() override;

private:
    void LimitLength();

    QLabel* Label2;
    QLabel* Label4;
    QPlainTextEdit* Memo1;
};
