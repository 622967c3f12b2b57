#include "editors/dialogs/NumberEditRules.h"

#include "editors/dialogs/UpDown.h"
#include "editors/fields/ByteText.h"
#include "editors/fields/EditorField.h"
#include "model/Exception.h"

#include <QLineEdit>

bool DigitFits(const QLineEdit* edit, QChar key, int minimum, int maximum)
{
    if (key < QLatin1Char('0') || key > QLatin1Char('9'))
        return false;
    return AppendedDigitFits(edit->text().toStdString(), char(key.unicode()), minimum, maximum);
}

void CheckNumberFields(std::span<QLineEdit* const> edits,
                       std::span<const EditorField* const> fields)
{
    for (std::size_t i = 0; i < edits.size() && i < fields.size(); ++i)
        if (edits[i]->text().isEmpty())
            edits[i]->setText(QString::fromStdString(fields[i]->emptyText));
    for (std::size_t i = 0; i < edits.size() && i < fields.size(); ++i) {
        if (!fields[i]->check)
            continue;
        if (const auto error = fields[i]->check(edits[i]->text().toStdString())) {
            edits[i]->setFocus();
            throw EConvertError(*error);
        }
    }
}

void FilterNumberKey(const QObject* sender, QChar& key, std::span<QLineEdit* const> edits,
                     std::span<UpDown* const> upDowns)
{
    for (std::size_t i = 0; i < edits.size() && i < upDowns.size(); ++i) {
        if (sender && sender->objectName() == edits[i]->objectName()) {
            if (!DigitFits(edits[i], key, upDowns[i]->Minimum(), upDowns[i]->Maximum()))
                key = QChar();
            return;
        }
    }
    key = QChar();
}
