#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

// What a report is made for.
struct ReportOptions
{
    // The file the configuration came from, as the user named it; empty when none.
    QString fileName;
    // The configuration in memory is no longer what that file holds.
    bool fileDiffers = false;
    // When the report is made (local time); shown in the header, not in the JSON.
    QDateTime printedAt;
    // The report is of an archive entry: its time (local), shown as the entry's date
    // instead of printedAt's.
    QDateTime entryAt;
    // The customer's copy: every access code reads "****", whatever its length.
    bool masked = false;
};

// One line of a report section.
struct ReportRow
{
    enum Kind
    {
        rkField, // a label and a value
        rkGroup  // a heading inside a section ("A1", "SMA2"): label only
    };
    Kind kind = rkField;
    // Key of the value in the area's JSON object; empty for a group heading and for the
    // further lines of a multi-line value in the header.
    QString key;
    // As the dialog names the field, without the accelerator "&" and the closing colon;
    // empty for the further lines of a multi-line value.
    QString label;
    // As the dialog shows it (UTF-8 decoded); may be empty.
    QString value;
    // What the dialog shows beside the field (a range and unit such as "(0..255 s)");
    // printed after the value, not part of it.
    QString note;
};

// One area of the configuration, headed by its dialog's caption.
struct ReportSection
{
    QString key; // stable JSON key of the area ("phones", "codes", ...)
    QString caption;
    QList<ReportRow> rows;
    // Field key -> the field's stored bytes as upper-case hex (StoredBytes), for the fields
    // whose shown value, typed in again, would not store them (FieldText.h). Never for an
    // access code of the customer's copy.
    QMap<QString, QString> stored;
};
