#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A framed group of radio buttons with a caption, of which at most one is chosen: the
// editors' "NIE"/"TAK" options, the nine-item phone-station groups and the like.
// Items fill the columns top to bottom, left to right (rows = ceil(items / columns)).
// ItemIndex is -1 when nothing is chosen; the user cannot go back to -1 by clicking.
// Keyboard: Tab enters the group at the chosen button (the first when none), arrows move
// and choose; a label's buddy or setFocus() on the group lands on the same button.
//
// From a .ui file, promote a QGroupBox and set "items", "columns" and "itemIndex" as
// dynamic properties (stdset="0"), or call the setters in code.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE SetItems)
    Q_PROPERTY(int columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int itemIndex READ ItemIndex WRITE SetItemIndex NOTIFY itemIndexChanged)

public:
    explicit RadioGroup(QWidget* parent = nullptr);
    RadioGroup(const QString& caption, const QStringList& items, int columns = 1,
               QWidget* parent = nullptr);

    QStringList Items() const { return m_items; }
    // Replaces the buttons; the choice becomes -1.
    void SetItems(const QStringList& items);
    int Columns() const { return m_columns; }
    // At least 1.
    void SetColumns(int columns);

    // -1 (nothing chosen) or 0 .. Items().size() - 1.
    int ItemIndex() const;
    // Any value outside 0 .. Items().size() - 1 clears the choice (-1).
    void SetItemIndex(int index);

    // The button of item index (for tests and for focusing); nullptr when out of range.
    QRadioButton* Button(int index) const;

signals:
    // Emitted whenever the choice changes, by the user or by SetItemIndex.
    void itemIndexChanged(int index);

protected:
    // A label's accelerator focuses the group; the focus goes on to the chosen button
    // (or the first), as keyboard users expect.
    void focusInEvent(QFocusEvent* event) override;

private:
    void Rebuild();
    void ChoiceChanged();

    QStringList m_items;
    int m_columns = 1;
    int m_lastIndex = -1;
    QList<QRadioButton*> m_buttons;
    QButtonGroup* m_group;
    QGridLayout* m_layout;
};
