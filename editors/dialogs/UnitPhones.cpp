#include "editors/dialogs/UnitPhones.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/dialogs/UpperCaseValidator.h"
#include "editors/fields/PhonesFields.h"
#include "widgets/KeyFilter.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TFormPhones::TFormPhones(QWidget* parent)
    : EditorDialog(QString::fromUtf8(PhonesFields::Caption), parent),
      RadioGroup1(
          new RadioGroup(QString(), FieldItems(PhonesFields::Table()["polpager1"]), 1, this)),
      RadioGroup2(new RadioGroup(QString(), RadioGroup1->Items(), 1, this))
{
    const EditorArea& area = PhonesFields::Table();
    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    auto* upperCase = new UpperCaseValidator(this);
    auto* grid = new QGridLayout;
    for (int k = 0; k < PhonesFields::Count; ++k) {
        const QString n = QString::number(k + 1);
        auto* edit = new QLineEdit(this);
        edit->setObjectName("Edit" + n);
        edit->setMaxLength(PhonesFields::Table().fields[k].maxLength);
        edit->setValidator(upperCase);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(18, '0')));
        filter->Attach(edit);
        DiscardControlCharacters(edit);
        auto* check = new QCheckBox(this);
        check->setObjectName("CheckBox" + n);
        grid->addWidget(NewLabel(FieldLabel(area.fields[k]), "Label" + n, edit, this), k + 1, 0);
        grid->addWidget(edit, k + 1, 1);
        grid->addWidget(check, k + 1, 2, Qt::AlignHCenter);
        m_edits[k] = edit;
        m_fields[k] = &area.fields[k];
        m_checkBoxes[k] = check;
    }
    grid->addWidget(NewLabel(FieldLabel(area["locked"]), "Label12", m_checkBoxes[0], this), 0, 2);
    RadioGroup1->setObjectName("RadioGroup1");
    // The station groups come first in Tab order, but the dialog is read from NR 1 down.
    m_edits[0]->setFocus();
    RadioGroup2->setObjectName("RadioGroup2");
    // A label only hands its accelerator's focus to a buddy that takes focus; the group
    // passes it on to its chosen button and stays out of the Tab order itself.
    RadioGroup1->setFocusPolicy(Qt::StrongFocus);
    RadioGroup2->setFocusPolicy(Qt::StrongFocus);
    grid->addWidget(NewLabel(FieldLabel(area["polpager1"]), "Label9", RadioGroup1, this), 0, 3);
    grid->addWidget(NewLabel(FieldLabel(area["polpager2"]), "Label10", RadioGroup2, this), 0, 4);
    grid->addWidget(RadioGroup1, 1, 3, PhonesFields::Count, 1);
    grid->addWidget(RadioGroup2, 1, 4, PhonesFields::Count, 1);
    SetBody(grid);
}

void TFormPhones::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_fields);
}

int TFormPhones::EditSettings(TZorvexSettings& settings)
{
    PhonesFields fields = PhonesFields::Load(settings);
    for (int k = 0; k < PhonesFields::Count; ++k) {
        m_edits[k]->setText(QString::fromStdString(fields.numbers[k]));
        m_checkBoxes[k]->setChecked(fields.locked[k]);
    }
    RadioGroup1->SetItemIndex(fields.station1);
    RadioGroup2->SetItemIndex(fields.station2);

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int k = 0; k < PhonesFields::Count; ++k) {
        fields.numbers[k] = m_edits[k]->text().toStdString();
        fields.locked[k] = m_checkBoxes[k]->isChecked();
    }
    fields.station1 = RadioGroup1->ItemIndex();
    fields.station2 = RadioGroup2->ItemIndex();
    fields.Store(settings);
    return mrOk;
}
