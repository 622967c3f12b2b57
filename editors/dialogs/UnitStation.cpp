#include "editors/dialogs/UnitStation.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/dialogs/UpperCaseValidator.h"
#include "editors/fields/StationFields.h"
#include "widgets/KeyFilter.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TFormStation::TFormStation(QWidget* parent)
    : EditorDialog(QString::fromUtf8(StationFields::Caption), parent),
      RadioGroup1(new RadioGroup(this))
{
    RadioGroup1->setObjectName("RadioGroup1");
    const EditorArea& area = StationFields::Table();
    RadioGroup1->setTitle(FieldLabel(area["mode"]));
    RadioGroup1->SetItems(FieldItems(area["mode"]));
    RadioGroup1->SetItemIndex(0);
    const QStringList formats = FieldItems(area["sma1Format"]);

    auto* filter = new KeyFilter([this](QChar& key) { Edit1KeyPress(focusWidget(), key); }, this);
    auto* upperCase = new UpperCaseValidator(this);
    auto* stations = new QVBoxLayout;
    for (int s = 0; s < StationFields::Stations; ++s) {
        auto* box = new QGroupBox(this);
        auto* grid = new QGridLayout(box);
        auto* combo = new QComboBox(box);
        combo->setObjectName("ComboBox" + QString::number(s + 1));
        combo->addItems(formats);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        QWidget* fields[3] = {nullptr, nullptr, combo};
        for (int f = 0; f < 2; ++f) {
            auto* edit = new QLineEdit(box);
            const int index = 2 * s + f;
            edit->setObjectName("Edit" + QString::number(index + 1));
            const std::string key = "sma" + std::to_string(s + 1) + (f == 0 ? "Number" : "Code");
            edit->setMaxLength(area[key].maxLength);
            edit->setValidator(upperCase);
            edit->setFixedWidth(
                edit->fontMetrics().horizontalAdvance(QString(f == 0 ? 18 : 6, '0')));
            filter->Attach(edit);
            DiscardControlCharacters(edit);
            m_edits[index] = edit;
            m_fields[index] = &area[key];
            fields[f] = edit;
        }
        for (int f = 0; f < 3; ++f) {
            const char* kinds[3] = {"Number", "Code", "Format"};
            const EditorField& field = area["sma" + std::to_string(s + 1) + kinds[f]];
            auto* label = new QLabel(FieldLabel(field), box);
            label->setObjectName("Label" + QString::number(3 * s + f + 1));
            label->setBuddy(fields[f]);
            grid->addWidget(label, f, 0);
            grid->addWidget(fields[f], f, 1, Qt::AlignLeft);
        }
        m_comboBoxes[s] = combo;
        stations->addWidget(box);
    }

    auto* body = new QHBoxLayout;
    body->addWidget(RadioGroup1, 0, Qt::AlignTop);
    body->addLayout(stations);
    SetBody(body);
}

void TFormStation::Edit1KeyPress(QObject* sender, QChar& key)
{
    FilterFieldKey(sender, key, m_edits, m_fields);
}

int TFormStation::EditSettings(TZorvexSettings& settings)
{
    StationFields fields = StationFields::Load(settings);
    for (int s = 0; s < StationFields::Stations; ++s) {
        m_edits[2 * s]->setText(QString::fromStdString(fields.numbers[s]));
        m_edits[2 * s + 1]->setText(QString::fromStdString(fields.subscribers[s]));
        m_comboBoxes[s]->setCurrentIndex(fields.formats[s]);
    }
    RadioGroup1->SetItemIndex(fields.mode);

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int s = 0; s < StationFields::Stations; ++s) {
        fields.numbers[s] = m_edits[2 * s]->text().toStdString();
        fields.subscribers[s] = m_edits[2 * s + 1]->text().toStdString();
        fields.formats[s] = m_comboBoxes[s]->currentIndex();
    }
    fields.mode = RadioGroup1->ItemIndex();
    fields.Store(settings);
    return mrOk;
}
