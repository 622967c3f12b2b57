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
    : TEditorDialog(QString::fromUtf8(AlarmInFields::Caption), parent)
{
    auto* body = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* box = new QGroupBox(QString::fromUtf8(AlarmInFields::LineCaptions[i]), this);
        box->setObjectName(QString("GroupBox%1").arg(i + 1));

        auto* label = new QLabel(QString::fromUtf8(AlarmInFields::FunctionLabels[i]), box);
        m_functions[i] = new QComboBox(box);
        m_functions[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
        for (const char* item : AlarmInFields::FunctionItems(i))
            m_functions[i]->addItem(QString::fromUtf8(item));
        m_functions[i]->setCurrentIndex(-1);
        label->setBuddy(m_functions[i]);

        m_speeds[i] =
            new RadioGroup(QString::fromUtf8(AlarmInFields::SpeedLabel),
                           {AlarmInFields::SpeedItems[0], AlarmInFields::SpeedItems[1]}, 2, box);
        m_speeds[i]->setObjectName(QString("RadioGroup%1").arg(2 * i + 1));
        m_speeds[i]->SetItemIndex(0);
        m_contacts[i] = new RadioGroup(
            QString::fromUtf8(AlarmInFields::ContactLabel),
            {AlarmInFields::ContactItems[0], AlarmInFields::ContactItems[1]}, 2, box);
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
