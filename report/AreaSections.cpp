#include "report/AreaSections.h"

#include "editors/fields/EditorAreas.h"
#include "editors/fields/FieldText.h"
#include "resources/ConstsZVX.h"

#include <string>

namespace {

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// One area's rows: a heading wherever the field's group changes, then the field with its
// value as the dialog shows it.
ReportSection Section(const EditorArea& area, const TZorvexSettings& settings, bool masked)
{
    ReportSection section{Text(area.key), Text(area.caption), {}, {}};
    std::string group;
    for (const EditorField& field : area.fields) {
        if (field.group != group) {
            group = field.group;
            if (!group.empty())
                section.rows << ReportRow{ReportRow::rkGroup, QString(), PlainLabel(group.c_str()),
                                          QString(), QString()};
        }
        const QString value =
            masked && field.secret ? Text(ConstsZVX::ReportMaskedCode) : Text(field.read(settings));
        section.rows << ReportRow{ReportRow::rkField, Text(field.key),
                                  PlainLabel(field.label.c_str()), value, Text(field.note)};
        if (!(masked && field.secret) && !ShownTextKeeps(field, settings)) {
            const std::vector<std::uint8_t> bytes = StoredBytes(field, settings);
            section.stored.insert(
                Text(field.key),
                QString::fromLatin1(
                    QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))
                        .toHex()
                        .toUpper()));
        }
    }
    return section;
}

} // namespace

QString PlainLabel(const char* dialogLabel)
{
    return QString::fromStdString(PlainLabelText(dialogLabel));
}

QList<ReportSection> AreaSections(const TZorvexSettings& settings, bool masked)
{
    QList<ReportSection> sections;
    for (const EditorArea* area : EditorAreas())
        if (area->fields.empty() || area->fields.front().record < 0)
            sections << Section(*area, settings, masked);
    return sections;
}

ReportSection DescriptionSection(const TZorvexSettings& settings)
{
    return Section(*FindEditorArea("description"), settings, false);
}
