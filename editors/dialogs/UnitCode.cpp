#include "editors/dialogs/UnitCode.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/fields/CodeFields.h"
#include "widgets/KeyFilter.h"
#include "widgets/MessageBox.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TFormCode::TFormCode(QWidget* parent)
    : EditorDialog(QString::fromUtf8(CodeFields::Caption), parent),
      RadioGroup1(new RadioGroup(FieldLabel(CodeFields::Table()["trc"]),
                                 FieldItems(CodeFields::Table()["trc"]), 2, this))
{
    const EditorArea& area = CodeFields::Table();
    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    for (int i = 0; i < CodeFields::Count; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName("Edit" + QString::number(i + 1));
        edit->setMaxLength(CodeFields::Table().fields[i].maxLength);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(10, '0')));
        filter->Attach(edit);
        DiscardControlCharacters(edit);
        m_edits[i] = edit;
        m_fields[i] = &area.fields[i];
    }
    RadioGroup1->setObjectName("RadioGroup1");
    // The TRC option comes first in Tab order, but the dialog is read from KU0 down.
    m_edits[0]->setFocus();

    auto* users = new QGridLayout;
    for (int k = 0; k < CodeFields::Users; ++k) {
        const QString n = QString::number(k + 1);
        auto* check = new QCheckBox(this);
        check->setObjectName("CheckBox" + n);
        users->addWidget(NewLabel(FieldLabel(area.fields[k]), "Label" + n, m_edits[k], this), k + 1,
                         0);
        users->addWidget(m_edits[k], k + 1, 1);
        users->addWidget(check, k + 1, 2, Qt::AlignHCenter);
        m_checkBoxes[k] = check;
    }
    users->addWidget(NewLabel(FieldLabel(area["locked"]), "Label12", m_checkBoxes[0], this), 0, 2);

    auto* others = new QGridLayout;
    others->addWidget(NewLabel(FieldLabel(area.fields[CodeFields::KU8]), "Label9",
                               m_edits[CodeFields::KU8], this),
                      0, 0);
    others->addWidget(m_edits[CodeFields::KU8], 0, 1);
    others->addWidget(NewLabel(FieldLabel(area.fields[CodeFields::KU9]), "Label10",
                               m_edits[CodeFields::KU9], this),
                      1, 0);
    others->addWidget(m_edits[CodeFields::KU9], 1, 1);
    others->addWidget(NewLabel(FieldLabel(area.fields[CodeFields::Installer]), "Label11",
                               m_edits[CodeFields::Installer], this),
                      2, 0);
    others->addWidget(m_edits[CodeFields::Installer], 2, 1);
    others->addWidget(RadioGroup1, 3, 0, 1, 2);
    others->setRowStretch(4, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(users);
    body->addSpacing(16);
    body->addLayout(others);
    SetBody(body);
}

void TFormCode::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_fields);
}

bool TFormCode::CanClose()
{
    CodeFields fields;
    for (int i = 0; i < CodeFields::Count; ++i)
        fields.codes[i] = m_edits[i]->text().toStdString();
    const auto failure = fields.Check();
    if (!failure)
        return true;
    MessageDlg(mkError, failure->message, mbOk, this);
    m_edits[failure->field]->setFocus();
    return false;
}

int TFormCode::EditSettings(TZorvexSettings& settings)
{
    CodeFields fields = CodeFields::Load(settings);
    for (int i = 0; i < CodeFields::Count; ++i)
        m_edits[i]->setText(QString::fromStdString(fields.codes[i]));
    for (int k = 0; k < CodeFields::Users; ++k)
        m_checkBoxes[k]->setChecked(fields.locked[k]);
    RadioGroup1->SetItemIndex(fields.trc);

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < CodeFields::Count; ++i)
        fields.codes[i] = m_edits[i]->text().toStdString();
    for (int k = 0; k < CodeFields::Users; ++k)
        fields.locked[k] = m_checkBoxes[k]->isChecked();
    fields.trc = RadioGroup1->ItemIndex();
    fields.Store(settings);
    return mrOk;
}
