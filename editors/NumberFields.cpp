#include "editors/NumberFields.h"

#include "editors/ByteText.h"

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
