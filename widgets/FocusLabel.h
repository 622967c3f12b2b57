#pragma once

#include <QLabel>

// A label whose accelerator only moves the focus to its buddy. QLabel also clicks a buddy
// that is a button, so "&Zakaz programowania" over a column of check boxes would tick the
// first one; the dialogs' labels mean only "go there", and the user ticks with Space.
// UI thread only.
class FocusLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FocusLabel(const QString& text, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};
