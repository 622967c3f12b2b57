#include "report/ConfigReport.h"

#include "model/ConfigIdentity.h"
#include "model/TZorvexSettings.h"
#include "report/AreaSections.h"
#include "resources/ConstsZVX.h"

ConfigReport::ConfigReport(const TZorvexSettings& settings, const ReportOptions& options)
    : m_options(options), m_areas(AreaSections(settings, options.masked)),
      m_description(DescriptionSection(settings)),
      m_image(reinterpret_cast<const char*>(settings.Cfg.Bytes().data()), TCfg::Size),
      m_fingerprint(options.masked ? QString()
                                   : QString::fromStdString(ImageFingerprint(settings.Cfg)))
{
    for (const ReportRow& row : m_description.rows)
        m_records << row.value;
    BuildHeader();
}

void ConfigReport::BuildHeader()
{
    m_header = {QStringLiteral("header"), QString::fromUtf8(ConstsZVX::ProgramCaption), {}, {}};
    if (m_options.masked)
        m_header.rows << ReportRow{ReportRow::rkGroup, QString(),
                                   QString::fromUtf8(ConstsZVX::ReportCustomerCopy), QString(),
                                   QString()};
    // Blank records are left out; a block's label goes with its first line that is not.
    QString pendingLabel;
    for (const ReportRow& row : m_description.rows) {
        if (!row.label.isEmpty())
            pendingLabel = row.label;
        if (row.value.trimmed().isEmpty())
            continue;
        m_header.rows << ReportRow{ReportRow::rkField, row.key, pendingLabel, row.value, QString()};
        pendingLabel.clear();
    }
    if (!m_options.fileName.isEmpty()) {
        QString file = m_options.fileName;
        if (m_options.fileDiffers)
            file += QLatin1Char(' ') + QString::fromUtf8(ConstsZVX::ReportFileChanged);
        m_header.rows << ReportRow{ReportRow::rkField, QStringLiteral("file"),
                                   QString::fromUtf8(ConstsZVX::ReportFile), file, QString()};
    }
    if (m_options.entryAt.isValid())
        m_header.rows << ReportRow{ReportRow::rkField, QStringLiteral("entryDate"),
                                   QString::fromUtf8(ConstsZVX::ReportEntryDate),
                                   m_options.entryAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                                   QString()};
    else if (m_options.printedAt.isValid())
        m_header.rows << ReportRow{ReportRow::rkField, QStringLiteral("printed"),
                                   QString::fromUtf8(ConstsZVX::ReportPrinted),
                                   m_options.printedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                                   QString()};
    if (!m_options.masked)
        m_header.rows << ReportRow{ReportRow::rkField, QStringLiteral("fingerprint"),
                                   QString::fromUtf8(ConstsZVX::ReportFingerprint), m_fingerprint,
                                   QString()};
}
