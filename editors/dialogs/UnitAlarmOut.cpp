#include "editors/dialogs/UnitAlarmOut.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/dialogs/NumberEditRules.h"
#include "editors/dialogs/UpDown.h"
#include "editors/fields/AlarmOutFields.h"
#include "model/TZorvexSettings.h"
#include "widgets/KeyFilter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TFormAlarmOut::TFormAlarmOut(QWidget* parent)
    : EditorDialog(QString::fromUtf8(AlarmOutFields::Caption), parent)
{
    const char* triggerNames[2] = {"Label1", "Label2"};
    const char* timeNames[2] = {"Label8", "Label3"};

    auto* body = new QVBoxLayout;
    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    const EditorArea& area = AlarmOutFields::Table();
    for (int i = 0; i < 2; ++i) {
        const EditorField& trigger = area.fields[2 * i];
        const EditorField& time = area.fields[2 * i + 1];
        m_timeFields[i] = &time;
        auto* box = new QGroupBox(this);
        box->setObjectName(QString("GroupBox%1").arg(i + 1));

        auto* triggerLabel = new QLabel(QString::fromStdString(trigger.label), box);
        triggerLabel->setObjectName(triggerNames[i]);
        m_triggers[i] = new QComboBox(box);
        m_triggers[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
        for (const std::string& text : trigger.items)
            m_triggers[i]->addItem(QString::fromStdString(text));
        m_triggers[i]->setCurrentIndex(-1);
        triggerLabel->setBuddy(m_triggers[i]);

        auto* timeLabel = new QLabel(QString::fromStdString(time.label), box);
        timeLabel->setObjectName(timeNames[i]);
        m_edits[i] = new QLineEdit("0", box);
        m_edits[i]->setObjectName(QString("Edit%1").arg(i + 1));
        m_edits[i]->setFixedWidth(40);
        auto* upDown = new UpDown(m_edits[i], time.minimum, time.maximum, box);
        upDown->setObjectName(QString("UpDown%1").arg(i + 1));
        filter->Attach(m_edits[i]);
        DiscardControlCharacters(m_edits[i]);
        timeLabel->setBuddy(m_edits[i]);

        auto* timeRow = new QHBoxLayout;
        timeRow->setSpacing(0);
        timeRow->addWidget(m_edits[i]);
        timeRow->addWidget(upDown);
        timeRow->addStretch();
        auto* grid = new QGridLayout(box);
        grid->addWidget(triggerLabel, 0, 0);
        grid->addWidget(m_triggers[i], 1, 0);
        grid->addWidget(timeLabel, 0, 1);
        grid->addLayout(timeRow, 1, 1);
        grid->setColumnMinimumWidth(0, 240);
        body->addWidget(box);
    }
    SetBody(body);
}

void TFormAlarmOut::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_timeFields);
}

bool TFormAlarmOut::CanClose()
{
    CheckNumberFields(m_edits, m_timeFields);
    return true;
}

int TFormAlarmOut::EditSettings(TZorvexSettings& settings)
{
    AlarmOutFields fields = AlarmOutFields::Load(settings);
    for (int i = 0; i < 2; ++i) {
        m_triggers[i]->setCurrentIndex(fields.triggers[i]);
        m_edits[i]->setText(QString::fromStdString(fields.times[i]));
    }

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < 2; ++i) {
        fields.triggers[i] = m_triggers[i]->currentIndex();
        fields.times[i] = m_edits[i]->text().toStdString();
    }
    fields.Store(settings);
    return mrOk;
}
