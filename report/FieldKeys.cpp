#include "report/FieldKeys.h"

#include "editors/fields/EditorAreas.h"
#include "editors/fields/MessageText.h"
#include "model/Cp1250.h"

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

QString MessageValue(const QString& text)
{
    return QString::fromStdString(MessageValue(FieldValueUtf8(text)));
}

std::string FieldValueUtf8(const QString& value)
{
    std::string utf8;
    utf8.reserve(static_cast<std::size_t>(value.size()));
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c.isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            AppendUtf8(utf8, QChar::surrogateToUcs4(c, value[++i]));
        } else if (c.isSurrogate()) { // the generalised form no valid UTF-8 holds
            utf8 += static_cast<char>(0xE0 | (c.unicode() >> 12));
            utf8 += static_cast<char>(0x80 | ((c.unicode() >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c.unicode() & 0x3F));
        } else {
            AppendUtf8(utf8, c.unicode());
        }
    }
    return utf8;
}

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
        return QStringLiteral("nieznany klucz \"%1\"; %2: %3")
            .arg(MessageValue(key), where, keys.join(u", "));
    }
    return QStringLiteral("nieznany klucz \"%1\"; klucze %2: %3")
        .arg(MessageValue(key), where, keys.join(u", "));
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
