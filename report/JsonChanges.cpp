#include "report/JsonChanges.h"

#include "editors/fields/EditorAreas.h"
#include "editors/fields/FieldText.h"
#include "editors/fields/MessageText.h"
#include "model/TZorvexSettings.h"
#include "report/FieldKeys.h"
#include "resources/ConstsZVX.h"

#include <QJsonArray>

namespace {

const QStringList kDescriptive{"format", "version",     "program", "file",
                               "masked", "fingerprint", "image",   "areaOrder"};
const QStringList kAreaDescriptive{"caption", "labels", "order", "notes"};

// A field only shown, which stores nothing (the Polpager station lines).
bool OnlyShown(const EditorField& field)
{
    return field.kind == fkDisplay && field.owned.empty() && field.record < 0;
}

std::optional<std::vector<std::uint8_t>> HexBytes(const QJsonValue& value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    if (text.size() != bytes.size() * 2 || bytes.toHex().toUpper() != text.toLatin1().toUpper())
        return std::nullopt;
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void AddEntry(JsonChanges& changes, const EditorField& field, const QString& key,
              const QJsonValue& value, const QJsonValue& stored)
{
    if (OnlyShown(field)) {
        changes.ignored << key;
        return;
    }
    if (!value.isString()) {
        changes.problems << QStringLiteral("%1: wartość musi być tekstem").arg(MessageValue(key));
        return;
    }
    const std::string text = FieldValueUtf8(value.toString());
    if (field.secret && text == ConstsZVX::ReportMaskedCode) {
        changes.ignored << key;
        return;
    }
    FieldEntry entry{&field, key.toStdString(), text, std::nullopt};
    if (!stored.isUndefined()) {
        entry.stored = HexBytes(stored);
        if (!entry.stored)
            changes.problems << QStringLiteral("%1: \"stored\" musi być liczbą szesnastkową")
                                    .arg(MessageValue(key));
    }
    changes.entries.push_back(std::move(entry));
}

void ReadArea(JsonChanges& changes, const QString& areaKey, const QJsonValue& value)
{
    const QString prefix = QStringLiteral("areas.") + areaKey;
    const EditorArea* area = FindEditorArea(areaKey.toStdString());
    if (!area) {
        changes.problems << UnknownKeyMessage(areaKey + QStringLiteral("."))
                                .replace(QStringLiteral("\"") + areaKey + QStringLiteral(".\""),
                                         QStringLiteral("\"") + prefix + QStringLiteral("\""));
        return;
    }
    if (!value.isObject()) {
        changes.problems << QStringLiteral("%1: oczekiwano obiektu").arg(MessageValue(prefix));
        return;
    }
    const QJsonObject object = value.toObject();
    const QJsonObject stored = object.value(QStringLiteral("stored")).toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (kAreaDescriptive.contains(it.key()))
            changes.ignored << QStringLiteral("areas.*.") + it.key();
        else if (it.key() != QLatin1String("fields") && it.key() != QLatin1String("stored"))
            changes.problems << QStringLiteral("nieznany klucz \"%1\"")
                                    .arg(MessageValue(prefix + u'.' + it.key()));
    }
    const QJsonObject fields = object.value(QStringLiteral("fields")).toObject();
    for (auto it = stored.begin(); it != stored.end(); ++it)
        if (!fields.contains(it.key()))
            changes.problems << QStringLiteral("%1: brak wartości pola w \"fields\"")
                                    .arg(MessageValue(prefix + QStringLiteral(".stored.") +
                                                      it.key()));
    // In the dialog's order, so that the entries come as a person would type them.
    for (const EditorField& field : area->fields) {
        const QString key = QString::fromStdString(field.key);
        if (fields.contains(key))
            AddEntry(changes, field, areaKey + u'.' + key, fields.value(key), stored.value(key));
    }
    for (auto it = fields.begin(); it != fields.end(); ++it)
        if (!area->Find(it.key().toStdString()))
            changes.problems << UnknownKeyMessage(areaKey + u'.' + it.key());
}

// A description record given twice, under "records" and in the description area, is
// entered once: the two texts agree, or one of them still reads as the record does and the
// other is the edit, which wins; two different edits are refused by both their keys.
std::vector<FieldFailure> EnterRecordsOnce(std::vector<FieldEntry>& entries,
                                           const TZorvexSettings& settings)
{
    std::vector<FieldFailure> failures;
    std::vector<bool> dropped(entries.size(), false);
    for (std::size_t a = 0; a < entries.size(); ++a) {
        if (entries[a].field->record < 0 || dropped[a])
            continue;
        for (std::size_t b = a + 1; b < entries.size(); ++b) {
            if (entries[b].field != entries[a].field)
                continue;
            const bool aIsRecord = entries[a].key.starts_with("records.");
            const std::size_t record = aIsRecord ? a : b;
            const std::size_t area = aIsRecord ? b : a;
            const std::string own = entries[a].field->read(settings);
            if (entries[record].text == entries[area].text || entries[record].text == own) {
                dropped[record] = true; // the area's entry carries the stored bytes
            } else if (entries[area].text == own) {
                dropped[area] = true;
            } else {
                failures.push_back({entries[record].key + ", areas." + entries[area].key,
                                    FormatText(ConstsZVX::DescriptionConflict,
                                               {MessageValue(entries[record].text),
                                                MessageValue(entries[area].text)})});
                dropped[a] = dropped[b] = true;
            }
        }
    }
    std::size_t i = 0;
    std::erase_if(entries, [&](const FieldEntry&) { return dropped[i++]; });
    return failures;
}

} // namespace

JsonChanges ReadJsonChanges(const QJsonObject& document)
{
    JsonChanges changes;
    for (auto it = document.begin(); it != document.end(); ++it) {
        const QString& key = it.key();
        if (kDescriptive.contains(key)) {
            changes.ignored << key;
        } else if (key == QLatin1String("records")) {
            const QJsonArray records = it.value().toArray();
            if (!it.value().isArray() || records.size() > TComment::Count)
                changes.problems << QStringLiteral("records: oczekiwano najwyżej %1 tekstów")
                                        .arg(TComment::Count);
            for (int i = 0; i < records.size() && i < TComment::Count; ++i) {
                const QString recordKey = QStringLiteral("records.%1").arg(i);
                QString problem;
                if (const EditorField* field = FieldOfKey(recordKey, problem))
                    AddEntry(changes, *field, recordKey, records[i],
                             QJsonValue(QJsonValue::Undefined));
            }
        } else if (key == QLatin1String("unedited")) {
            const QJsonObject bytes = it.value().toObject();
            for (auto b = bytes.begin(); b != bytes.end(); ++b) {
                bool ok = false;
                const int offset = b.key().toInt(&ok);
                const auto value = HexBytes(b.value());
                if (!ok || offset < 1 || offset >= TCfg::Size || !value || value->size() != 1)
                    changes.problems << QStringLiteral("unedited.%1: oczekiwano bajtu \"XX\" "
                                                       "pod przesunięciem 1..255")
                                            .arg(MessageValue(b.key()));
                else
                    changes.unedited.emplace_back(offset, value->front());
            }
        } else if (key == QLatin1String("areas")) {
            if (!it.value().isObject())
                changes.problems << QStringLiteral("areas: oczekiwano obiektu");
            const QJsonObject areas = it.value().toObject();
            // In the order of the menus, description last, as the document lists them.
            for (const EditorArea* area : EditorAreas()) {
                const QString areaKey = QString::fromStdString(area->key);
                if (areas.contains(areaKey))
                    ReadArea(changes, areaKey, areas.value(areaKey));
            }
            for (auto a = areas.begin(); a != areas.end(); ++a)
                if (!FindEditorArea(a.key().toStdString()))
                    ReadArea(changes, a.key(), a.value());
        } else {
            changes.problems << QStringLiteral("nieznany klucz \"%1\"").arg(MessageValue(key));
        }
    }
    changes.ignored.removeDuplicates();
    return changes;
}

std::vector<FieldFailure> ApplyJsonChanges(const JsonChanges& changes, TZorvexSettings& settings)
{
    TZorvexSettings scratch = settings;
    const std::array<std::uint8_t, 256>& free = FieldlessBits();
    for (const auto& [offset, value] : changes.unedited)
        scratch.Cfg.SetByte(
            offset, static_cast<std::uint8_t>((scratch.Cfg.GetByte(offset) & ~free[offset]) |
                                              (value & free[offset])));
    std::vector<FieldEntry> entries = changes.entries;
    std::vector<FieldFailure> failures = EnterRecordsOnce(entries, settings);
    if (!failures.empty())
        return failures;
    failures = WriteFields(scratch, entries);
    if (failures.empty())
        settings = scratch;
    return failures;
}
