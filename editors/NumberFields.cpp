#include "editors/NumberFields.h"

#include "editors/ByteText.h"
#include "editors/UpDown.h"

#include <QLineEdit>

bool DigitFits(const QLineEdit* edit, QChar key, int minimum, int maximum)
{
    if (key < QLatin1Char('0') || key > QLatin1Char('9'))
        return false;
    return AppendedDigitFits(edit->text().toStdString(), char(key.unicode()), minimum, maximum);
}

void CheckByteFields(const QList<QLineEdit*>& fields)
{
    for (QLineEdit* field : fields) {
        try {
            ByteFromText(field->text().toStdString());
        } catch (...) {
            field->setFocus();
            throw;
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
