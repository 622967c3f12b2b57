#pragma once

#include "report/ReportModel.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class TZorvexSettings;

// The report of one configuration, made once from a snapshot of it: a header, then one
// section per area in the order of the menus. Rendered as text lines (ReportText.h) and
// as JSON (ReportJson.h). Plain data: any thread, but build it where the settings live.
class ConfigReport
{
public:
    ConfigReport(const TZorvexSettings& settings, const ReportOptions& options);

    const ReportOptions& Options() const { return m_options; }
    // Headed by the program's name: the customer-copy note when masked, the description
    // records that are not empty (object name, address, description lines), the file,
    // the date and time of printing and, unless masked, the image's fingerprint.
    const ReportSection& Header() const { return m_header; }
    // The areas edited by the dialogs of the Telefony, System, Monitorowanie and
    // Zdarzenia menus, in menu order.
    const QList<ReportSection>& Areas() const { return m_areas; }
    // The description dialog's fields, empty records included.
    const ReportSection& Description() const { return m_description; }
    // The fourteen description records as text (decoded from Windows-1250).
    const QStringList& Records() const { return m_records; }
    // The 256 image bytes as they are in memory.
    const QByteArray& Image() const { return m_image; }
    // See ImageFingerprint; empty when masked: the fingerprint is computed over the
    // access codes too, and with the rest of the image known a code is found from it in a
    // moment.
    const QString& Fingerprint() const { return m_fingerprint; }

private:
    void BuildHeader();

    ReportOptions m_options;
    ReportSection m_header;
    QList<ReportSection> m_areas;
    ReportSection m_description;
    QStringList m_records;
    QByteArray m_image;
    QString m_fingerprint;
};
