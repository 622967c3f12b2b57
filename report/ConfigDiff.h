#pragma once

#include <QList>
#include <QString>

class TZorvexSettings;

// One difference between two configurations, in the dialogs' words.
struct ConfigDifference
{
    // The caption of the dialog that shows the field; for image bytes that no dialog
    // edits, "Bajty nieedytowane".
    QString area;
    // The field as its dialog names it. Inside a group the group comes first
    // ("SMA2: Nr telefonu SMA"), a line of a multi-line description block carries its
    // number ("Adres (wiersz 2)"), and a byte is "Bajt N".
    QString field;
    // The values as the dialogs show them; a byte as "0x6A".
    QString a;
    QString b;

    bool operator==(const ConfigDifference&) const = default;
};

// What to compare.
enum TDiffScope
{
    dsConfiguration, // the image and the description records (two files)
    dsImage          // the image alone (the dialer keeps no description records)
};

// The differences between configurations a and b, field by field: the description
// records, the areas in the order of the menus, then the bytes no dialog edits. Empty
// when they are the same.
//
// The image is compared in bytes 1..255: byte 0 is the checksum, which follows from the
// others and is only filled in before a write or a save. Every differing byte shows up:
// as the fields of its area that read differently, or, when the area's fields all read
// the same (bits no dialog shows), as the byte itself under that area; bytes that no
// dialog edits, and bits 4..7 of byte 44, are listed under "Bajty nieedytowane".
// Description records are compared by their texts; the bytes after a record's text carry
// no meaning and are not compared.
//
// Pure: any thread.
QList<ConfigDifference> ConfigDifferences(const TZorvexSettings& a, const TZorvexSettings& b,
                                          TDiffScope scope = dsConfiguration);

// A byte's value as a difference shows it: "0x6A".
QString DiffByteText(int value);
