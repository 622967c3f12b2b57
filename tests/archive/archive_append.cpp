// Helpers for the tests of several processes at one archive:
//   archive_append sqlite|postgresql TARGET COUNT TAG
//       appends COUNT entries as fast as it can;
//   archive_append flush sqlite|postgresql TARGET QUEUE
//       sends the local queue QUEUE to the archive, as the next program to reach it does.
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecorder.h"
#include "model/Cp1250.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int Flush(const QStringList& args)
{
    ArchiveOptions options;
    options.postgres = args[2] == QLatin1String("postgresql");
    (options.postgres ? options.connection : options.file) = args[3];
    ArchiveRecorder recorder(options, args[4]);
    if (!recorder.Flush()) {
        std::fprintf(stderr, "%s\n", qPrintable(recorder.Problem()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("flush"))
        return Flush(args);
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
        // A writer that waited out its bounded lock time behind the other one tries
        // again, as the program does from its queue: the entry must arrive once.
        int tries = 0;
        while (!db.Append(entry)) {
            if (++tries == 20 || entry.id != 0) {
                std::fprintf(stderr, "%d: %s\n", i, qPrintable(db.Error()));
                return 1;
            }
        }
    }
    return 0;
}
