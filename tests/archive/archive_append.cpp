// Appends COUNT entries to an archive as fast as it can, for the test of two processes
// writing at once: archive_append sqlite|postgresql TARGET COUNT TAG.
#include "archive/ArchiveDatabase.h"
#include "model/Cp1250.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const auto kind = args[1] == QLatin1String("sqlite") ? ArchiveDatabase::Kind::SQLite
                                                         : ArchiveDatabase::Kind::PostgreSQL;
    ArchiveDatabase db(kind, args[2]);
    if (!db.Open()) {
        std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
        return 1;
    }
    const int count = args[3].toInt();
    for (int i = 0; i < count; ++i) {
        TZorvexSettings settings;
        settings.LoadDefaults();
        // Every entry differs, so that none is stored as a repeat of the other process's.
        settings.Comment.SetText(0, "proces " + args[4].toStdString());
        settings.Comment.SetText(1, std::to_string(i));
        ArchiveEntry entry = ArchiveEntry::Now(ConfigEvent::Save, settings);
        entry.fileName = QStringLiteral("wspolny.zvx");
        if (!db.Append(entry)) {
            std::fprintf(stderr, "%d: %s\n", i, qPrintable(db.Error()));
            return 1;
        }
    }
    return 0;
}
