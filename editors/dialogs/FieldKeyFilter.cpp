#include "editors/dialogs/FieldKeyFilter.h"

#include "editors/fields/EditorField.h"
#include "editors/fields/FieldText.h"

#include <QLineEdit>

void FilterFieldKey(const EditorField& field, const QString& text, QChar& key)
{
    key = QChar(FilteredKey(field, text.toStdString(), key.unicode()));
}

void FilterFieldKey(const QObject* sender, QChar& key, std::span<QLineEdit* const> edits,
                    std::span<const EditorField* const> fields)
{
    for (std::size_t i = 0; i < edits.size() && i < fields.size(); ++i) {
        if (sender == edits[i]) {
            FilterFieldKey(*fields[i], edits[i]->text(), key);
            return;
        }
    }
    key = QChar();
}
