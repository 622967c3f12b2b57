#include "editors/dialogs/UnitPhoneParam.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/dialogs/NumberEditRules.h"
#include "editors/dialogs/UpDown.h"
#include "model/TZorvexSettings.h"
#include "widgets/KeyFilter.h"
#include "widgets/RadioGroup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TFormPhoneParam::TFormPhoneParam(QWidget* parent)
    : EditorDialog(QString::fromUtf8(PhoneParamFields::Caption), parent)
{
    const EditorArea& area = PhoneParamFields::Table();
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        const EditorField& option = area.fields[i];
        auto* label = new QLabel(QString::fromStdString(option.label), this);
        label->setObjectName(QString("Label%1").arg(i + 1));
        m_groups[i] = new RadioGroup(
            QString(),
            {QString::fromStdString(option.items[0]), QString::fromStdString(option.items[1])}, 2,
            this);
        m_groups[i]->setObjectName(QString("RadioGroup%1").arg(i + 1));
        m_groups[i]->SetItemIndex(0);
        // A label's mnemonic focuses only a buddy that takes the focus; the group hands it
        // on to its chosen button.
        m_groups[i]->setFocusPolicy(Qt::StrongFocus);
        label->setBuddy(m_groups[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_groups[i], i, 1, 1, 2);
    }

    const char* initial[3] = {"2", "4", "0"};
    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    for (int i = 0; i < 3; ++i) {
        const EditorField& number = area.fields[4 + i];
        m_numberFields[i] = &number;
        auto* label = new QLabel(QString::fromStdString(number.label), this);
        label->setObjectName(QString("Label%1").arg(i + 5));
        m_edits[i] = new QLineEdit(QString::fromLatin1(initial[i]), this);
        m_edits[i]->setObjectName(QString("Edit%1").arg(i + 1));
        m_edits[i]->setFixedWidth(40);
        auto* upDown = new UpDown(m_edits[i], number.minimum, number.maximum, this);
        upDown->setObjectName(QString("UpDown%1").arg(i + 1));
        filter->Attach(m_edits[i]);
        DiscardControlCharacters(m_edits[i]);
        label->setBuddy(m_edits[i]);
        auto* note = new QLabel(QString::fromStdString(number.note), this);
        note->setObjectName(QString("Label%1").arg(i + 8));

        auto* field = new QHBoxLayout;
        field->setSpacing(0);
        field->addWidget(m_edits[i]);
        field->addWidget(upDown);
        grid->addWidget(label, 4 + i, 0);
        grid->addLayout(field, 4 + i, 1);
        grid->addWidget(note, 4 + i, 2);
    }
    SetBody(grid);
}

void TFormPhoneParam::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_numberFields);
}

bool TFormPhoneParam::CanClose()
{
    CheckNumberFields(m_edits, m_numberFields);
    return true;
}

int TFormPhoneParam::EditSettings(TZorvexSettings& settings)
{
    m_fields = PhoneParamFields::Load(settings);
    for (int i = 0; i < 4; ++i)
        m_groups[i]->SetItemIndex(m_fields.options[i] ? 1 : 0);
    // A stored number outside its up-down range is shown as stored rather than clamped,
    // so OK without a change writes back what the dialer had.
    for (int i = 0; i < 3; ++i)
        m_edits[i]->setText(QString::fromStdString(m_fields.numbers[i]));

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < 4; ++i)
        m_fields.options[i] = m_groups[i]->ItemIndex() != 0;
    for (int i = 0; i < 3; ++i)
        m_fields.numbers[i] = m_edits[i]->text().toStdString();
    m_fields.Store(settings);
    return mrOk;
}
