#include "editors/UnitAlarmIn.h"

#include "editors/AlarmInFields.h"
#include "model/TZorvexSettings.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

TFormAlarmIn::TFormAlarmIn(QWidget* parent) : TEditorDialog(tr("Linie wejściowe"), parent)
{
    auto* body = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        const QString line = QString("A%1").arg(i + 1);
        auto* box = new QGroupBox(line + ":", this);
        box->setObjectName(QString("GroupBox%1").arg(i + 1));

        auto* label = new QLabel(tr("Funkcja wejścia %1:").arg(line), box);
        m_functions[i] = new QComboBox(box);
        m_functions[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
        for (const char* item : AlarmInFields::FunctionItems(i))
            m_functions[i]->addItem(QString::fromUtf8(item));
        m_functions[i]->setCurrentIndex(-1);
        label->setBuddy(m_functions[i]);

        m_speeds[i] = new RadioGroup(tr("Szybkość:"), {tr("WOLNA"), tr("SZYBKA")}, 2, box);
        m_speeds[i]->setObjectName(QString("RadioGroup%1").arg(2 * i + 1));
        m_speeds[i]->SetItemIndex(0);
        m_contacts[i] = new RadioGroup(tr("NO/NC:"), {tr("NO"), tr("NC")}, 2, box);
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
