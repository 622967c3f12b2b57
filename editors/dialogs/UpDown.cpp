#include "editors/dialogs/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The arrows are worked with the mouse; the keyboard steps through the edit.
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}
} // namespace

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_associate(associate), m_minimum(minimum), m_maximum(maximum),
      m_position(minimum), m_up(MakeArrow(Qt::UpArrow, this)),
      m_down(MakeArrow(Qt::DownArrow, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    m_associate->installEventFilter(this);
}

int UpDown::Position() const
{
    bool ok = false;
    const int shown = m_associate->text().toInt(&ok);
    if (ok)
        m_position = shown;
    return m_position;
}

void UpDown::SetPosition(int value)
{
    m_position = value;
    m_associate->setText(QString::number(value));
}

void UpDown::Step(int delta)
{
    SetPosition(std::clamp(Position() + delta, m_minimum, m_maximum));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_associate && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
