#include "report/FieldKeys.h"

#include "editors/fields/EditorAreas.h"

#include <QStringList>

namespace {

const EditorField* RecordField(const QString& number)
{
    bool ok = false;
    const int record = number.toInt(&ok);
    if (!ok || number != QString::number(record))
        return nullptr;
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& field : area->fields)
            if (field.record >= 0 && field.record == record)
                return &field;
    return nullptr;
}

} // namespace

QString UnknownKeyMessage(const QString& key)
{
    const QString areaKey = key.section(u'.', 0, 0);
    QStringList keys;
    QString where;
    if (areaKey == QLatin1String("records")) {
        where = QStringLiteral("opisu");
        keys << QStringLiteral("records.0 … records.13");
    } else if (const EditorArea* area = FindEditorArea(areaKey.toStdString())) {
        where = QStringLiteral("obszaru ") + areaKey;
        for (const EditorField& field : area->fields)
            keys << QString::fromStdString(field.key);
    } else {
        where = QStringLiteral("obszary");
        for (const EditorArea* a : EditorAreas())
            keys << QString::fromStdString(a->key);
        keys << QStringLiteral("records");
        return QStringLiteral("nieznany klucz \"%1\"; %2: %3").arg(key, where, keys.join(u", "));
    }
    return QStringLiteral("nieznany klucz \"%1\"; klucze %2: %3").arg(key, where, keys.join(u", "));
}

const EditorField* FieldOfKey(const QString& key, QString& problem)
{
    const EditorField* field = key.startsWith(QLatin1String("records."))
                                   ? RecordField(key.mid(8))
                                   : FindEditorField(key.toStdString());
    if (!field)
        problem = UnknownKeyMessage(key);
    return field;
}
