#pragma once

#include "model/ConfigEvent.h"
#include "model/TZorvexSettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One event of the archive: a configuration that passed through the program (read from
// a dialer, written into one, verified, restarted, loaded from or saved to a file) with
// what happened to it. Entries are only ever added; an entry whose configuration equals
// the previous entry of the same file or port is a repeat: it keeps no image of its own
// and names the entry that holds it (repeatOf).
struct ArchiveEntry
{
    qint64 id = 0;     // given by the archive; 0 until appended
    QDateTime when;    // UTC
    int utcOffset = 0; // seconds east of UTC where the event happened (its local time)
    // The event's stored name (ConfigEventName). Kept as text: an archive shared with a
    // newer program may hold a name this one does not know, and shows it as it stands.
    QString event;
    bool succeeded = true;
    QString outcome;     // the user's words for a failure; empty after a success
    QByteArray image;    // TCfg::Size bytes as the dialer holds them (byte 0 the checksum)
    QByteArray records;  // TComment::Count * TComment::RecordSize bytes, cp1250
    QString fingerprint; // ImageFingerprint of the image
    QString fileName;
    QString port;
    QString user;
    QString host;
    QString version;
    qint64 repeatOf = 0; // the entry that holds this one's configuration; 0: its own
    QString site;        // record 0 (the object's name) as text
    QString address;     // record 1 as text

    // The entry's local time.
    QDateTime LocalTime() const;
    // The configuration it keeps (image and records); defaults when it has none.
    TZorvexSettings Settings() const;
    // Sets image, records, fingerprint, site and address from settings.
    void SetSettings(const TZorvexSettings& settings);
    // Whether both hold the same image bytes 1..255 and records.
    bool SameConfiguration(const ArchiveEntry& other) const;
    // The text a search looks through, lower case: every record, every phone number and
    // the fingerprint.
    QString SearchText() const;

    // The event in the user's words ("odczyt", "zapis", ...); the stored name itself for
    // one this version does not know.
    QString EventText() const;

    // An entry stamped now, in this process: time, user, host, the program's version.
    static ArchiveEntry Now(ConfigEvent event, const TZorvexSettings& settings);
};
