#include "editors/dialogs/UnitEventCode.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/dialogs/UpperCaseValidator.h"
#include "editors/fields/EventCodeFields.h"
#include "resources/ConstsZVX.h"
#include "widgets/KeyFilter.h"
#include "widgets/MessageBox.h"
#include "widgets/TimePicker.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

TFormEventCode::TFormEventCode(QWidget* parent)
    : EditorDialog(QString::fromUtf8(EventCodeFields::Caption), parent),
      DateTimePicker1(new TimePicker(this))
{
    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    auto* upperCase = new UpperCaseValidator(this);
    auto* panel = new QGroupBox(this);
    auto* columns = new QGridLayout(panel);
    const EditorArea& area = EventCodeFields::Table();
    for (int i = 0; i < EventCodeFields::Count; ++i) {
        const EditorField& code = area.fields[i];
        const QString n = QString::number(i + 1);
        auto* edit = new QLineEdit(panel);
        edit->setObjectName("Edit" + n);
        edit->setMaxLength(code.maxLength);
        edit->setValidator(upperCase);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("WWW"));
        filter->Attach(edit);
        DiscardControlCharacters(edit);
        auto* label = new QLabel(QString::fromStdString(code.label), panel);
        label->setObjectName("Label" + n);
        label->setBuddy(edit);
        const int column = i < 8 ? 0 : 3;
        columns->addWidget(edit, i % 8, column);
        columns->addWidget(label, i % 8, column + 1);
        m_edits[i] = edit;
        m_fields[i] = &code;
    }
    columns->setColumnMinimumWidth(2, 16);

    DateTimePicker1->setObjectName("DateTimePicker1");
    // The picker comes first in Tab order, but the dialog is read from the first code down.
    m_edits[0]->setFocus();
    auto* label17 = new QLabel(QString::fromStdString(area["testTime"].label), this);
    label17->setObjectName("Label17");
    label17->setBuddy(DateTimePicker1);
    auto* time = new QHBoxLayout;
    time->addWidget(label17);
    time->addWidget(DateTimePicker1);
    time->addStretch();

    auto* body = new QVBoxLayout;
    body->addWidget(panel);
    body->addLayout(time);
    SetBody(body);
}

void TFormEventCode::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_fields);
}

int TFormEventCode::EditSettings(TZorvexSettings& settings)
{
    EventCodeFields fields = EventCodeFields::Load(settings);
    for (int i = 0; i < EventCodeFields::Count; ++i)
        m_edits[i]->setText(QString::fromStdString(fields.codes[i]));
    DateTimePicker1->SetTime(QTime(fields.hour, fields.minute));
    if (fields.timeReplaced)
        // Said over the open dialog, so that OK then stores 00:00 knowingly.
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                MessageDlg(mkInformation, QString::fromUtf8(ConstsZVX::TestTimeReplaced), mbOk,
                           this);
        });

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < EventCodeFields::Count; ++i)
        fields.codes[i] = m_edits[i]->text().toStdString();
    const QTime time = DateTimePicker1->Time();
    fields.hour = time.hour();
    fields.minute = time.minute();
    fields.Store(settings);
    return mrOk;
}
