#include "editors/dialogs/NumberEditRules.h"

#include "editors/fields/EditorField.h"
#include "model/Exception.h"

#include <QLineEdit>

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
