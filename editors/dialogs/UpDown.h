#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of up and down arrows attached to a numeric edit (its associate). Each step
// reads the number the edit shows, moves it by one within minimum..maximum (no
// wrap-around) and writes it back as decimal text; the Up and Down keys in the edit do
// the same. The edit's text is the value: SetPosition shows any number as it is, even
// one outside the range, so a dialog can show what the dialer stores; the next step
// brings it into the range. A text that is not a number steps from the last position.
//
// UI thread only.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);

    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    QLineEdit* Associate() const { return m_associate; }

    // The number the edit shows, or the last position when its text is not a number.
    int Position() const;
    void SetPosition(int value);
    // Moves the position by delta, clamped to minimum..maximum.
    void Step(int delta);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_associate;
    int m_minimum;
    int m_maximum;
    mutable int m_position;
    QToolButton* m_up;
    QToolButton* m_down;
};
