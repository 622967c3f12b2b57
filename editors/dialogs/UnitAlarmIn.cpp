#include "editors/dialogs/UnitAlarmIn.h"

#include "editors/fields/AlarmInFields.h"
#include "model/TZorvexSettings.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

TFormAlarmIn::TFormAlarmIn(QWidget* parent)
    : EditorDialog(QString::fromUtf8(AlarmInFields::Caption), parent)
{
    auto* body = new QVBoxLayout;
    const EditorArea& area = AlarmInFields::Table();
    for (int i = 0; i < 3; ++i) {
        const std::string prefix = "a" + std::to_string(i + 1);
        const EditorField& function = area[prefix + "Function"];
        const EditorField& speed = area[prefix + "Speed"];
        const EditorField& contact = area[prefix + "Contact"];
        auto* box = new QGroupBox(QString::fromStdString(function.group), this);
        box->setObjectName(QString("GroupBox%1").arg(i + 1));

        auto* label = new QLabel(FieldLabel(function), box);
        m_functions[i] = new QComboBox(box);
        m_functions[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
        m_functions[i]->addItems(FieldItems(function));
        m_functions[i]->setCurrentIndex(-1);
        label->setBuddy(m_functions[i]);

        m_speeds[i] = new RadioGroup(FieldLabel(speed), FieldItems(speed), 2, box);
        m_speeds[i]->setObjectName(QString("RadioGroup%1").arg(2 * i + 1));
        m_speeds[i]->SetItemIndex(0);
        m_contacts[i] = new RadioGroup(FieldLabel(contact), FieldItems(contact), 2, box);
        m_contacts[i]->setObjectName(QString("RadioGroup%1").arg(2 * i + 2));
        m_contacts[i]->SetItemIndex(0);

        auto* grid = new QGridLayout(box);
        grid->addWidget(label, 0, 0);
        grid->addWidget(m_functions[i], 1, 0);
        grid->addWidget(m_speeds[i], 0, 1, 2, 1);
        grid->addWidget(m_contacts[i], 0, 2, 2, 1);
        body->addWidget(box);
    }
    // The three lines stand one below the other: their columns line up.
    int listWidth = 0;
    for (QComboBox* list : m_functions)
        listWidth = std::max(listWidth, list->sizeHint().width());
    for (QComboBox* list : m_functions)
        list->setFixedWidth(listWidth);
    SetBody(body);
}

int TFormAlarmIn::EditSettings(TZorvexSettings& settings)
{
    AlarmInFields fields = AlarmInFields::Load(settings);
    for (int i = 0; i < 3; ++i) {
        m_functions[i]->setCurrentIndex(fields.lines[i].function);
        m_speeds[i]->SetItemIndex(fields.lines[i].fast ? 1 : 0);
        m_contacts[i]->SetItemIndex(fields.lines[i].normallyClosed ? 1 : 0);
    }

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < 3; ++i) {
        fields.lines[i].function = m_functions[i]->currentIndex();
        fields.lines[i].fast = m_speeds[i]->ItemIndex() != 0;
        fields.lines[i].normallyClosed = m_contacts[i]->ItemIndex() != 0;
    }
    fields.Store(settings);
    return mrOk;
}
