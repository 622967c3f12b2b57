#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

RadioGroup::RadioGroup(QWidget* parent)
    : QGroupBox(parent), m_group(new QButtonGroup(this)), m_layout(new QGridLayout(this))
{
    m_group->setExclusive(true);
    // Not a Tab stop (the buttons are), but a label's accelerator may focus it.
    setFocusPolicy(Qt::ClickFocus);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        // Each change toggles two buttons; react once, to the one switched on.
        if (checked)
            ChoiceChanged();
    });
}

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : RadioGroup(parent)
{
    setTitle(caption);
    m_columns = std::max(1, columns);
    SetItems(items);
}

void RadioGroup::focusInEvent(QFocusEvent* event)
{
    QGroupBox::focusInEvent(event);
    QAbstractButton* target = m_group->checkedButton();
    if (!target && !m_buttons.isEmpty())
        target = m_buttons.first();
    if (target)
        target->setFocus(event->reason());
}

void RadioGroup::SetItems(const QStringList& items)
{
    const bool hadChoice = ItemIndex() >= 0;
    m_items = items;
    Rebuild();
    m_lastIndex = -1;
    if (hadChoice)
        emit itemIndexChanged(-1);
}

void RadioGroup::SetColumns(int columns)
{
    columns = std::max(1, columns);
    if (columns == m_columns)
        return;
    m_columns = columns;
    const int index = ItemIndex();
    Rebuild();
    SetItemIndex(index);
}

int RadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (index < 0 || index >= m_buttons.size()) {
        if (QAbstractButton* checked = m_group->checkedButton()) {
            // An exclusive group refuses to uncheck its last button.
            m_group->setExclusive(false);
            checked->setChecked(false);
            m_group->setExclusive(true);
            ChoiceChanged();
        }
        return;
    }
    m_buttons[index]->setChecked(true);
}

QRadioButton* RadioGroup::Button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void RadioGroup::Rebuild()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    const int count = int(m_items.size());
    const int rows = std::max(1, (count + m_columns - 1) / m_columns);
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(m_items[i], this);
        m_group->addButton(button, i);
        m_layout->addWidget(button, i % rows, i / rows);
        m_buttons.append(button);
    }
    setFocusProxy(m_buttons.isEmpty() ? nullptr : m_buttons.first());
}

void RadioGroup::ChoiceChanged()
{
    const int index = ItemIndex();
    setFocusProxy(Button(index >= 0 ? index : 0));
    if (index == m_lastIndex)
        return;
    m_lastIndex = index;
    emit itemIndexChanged(index);
}
