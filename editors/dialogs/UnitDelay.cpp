#include "editors/dialogs/UnitDelay.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/dialogs/NumberEditRules.h"
#include "editors/dialogs/UpDown.h"
#include "editors/fields/DelayFields.h"
#include "model/TZorvexSettings.h"
#include "widgets/KeyFilter.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TFormDelay::TFormDelay(QWidget* parent)
    : EditorDialog(QString::fromUtf8(DelayFields::Caption), parent)
{

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    for (int i = 0; i < 3; ++i) {
        const EditorField& delay = DelayFields::Table().fields[i];
        m_fields[i] = &delay;
        auto* label = new QLabel(QString::fromStdString(delay.label), panel);
        label->setObjectName(QString("Label%1").arg(i + 5));
        m_edits[i] = new QLineEdit("0", panel);
        m_edits[i]->setObjectName(QString("Edit%1").arg(i + 1));
        m_edits[i]->setFixedWidth(40);
        auto* upDown = new UpDown(m_edits[i], delay.minimum, delay.maximum, panel);
        upDown->setObjectName(QString("UpDown%1").arg(i + 1));
        filter->Attach(m_edits[i]);
        DiscardControlCharacters(m_edits[i]);
        label->setBuddy(m_edits[i]);
        auto* note = new QLabel(QString::fromStdString(delay.note), panel);
        note->setObjectName(QString("Label%1").arg(i + 8));

        auto* field = new QHBoxLayout;
        field->setSpacing(0);
        field->addWidget(m_edits[i]);
        field->addWidget(upDown);
        grid->addWidget(label, i, 0);
        grid->addLayout(field, i, 1);
        grid->addWidget(note, i, 2);
    }
    auto* body = new QVBoxLayout;
    body->addWidget(panel);
    SetBody(body);
}

void TFormDelay::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_fields);
}

bool TFormDelay::CanClose()
{
    CheckNumberFields(m_edits, m_fields);
    return true;
}

int TFormDelay::EditSettings(TZorvexSettings& settings)
{
    DelayFields fields = DelayFields::Load(settings);
    for (int i = 0; i < 3; ++i)
        m_edits[i]->setText(QString::fromStdString(fields.delays[i]));

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < 3; ++i)
        fields.delays[i] = m_edits[i]->text().toStdString();
    fields.Store(settings);
    return mrOk;
}
