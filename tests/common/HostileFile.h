#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>

// Makes at path a file that a program must refuse to read: "fifo" (reading it would
// hang), "zero" (a link to /dev/zero, which never ends) or "huge" (head followed by
// more than 1 MiB). False when it could not be made.
inline bool MakeHostileFile(const QString& path, const QString& kind, const QByteArray& head)
{
    if (kind == u"fifo")
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == u"zero")
        return QFile::link(QStringLiteral("/dev/zero"), path);
    QFile file(path);
    const QByteArray filler(1024 * 1024, 'x');
    return kind == u"huge" && file.open(QIODevice::WriteOnly) && file.write(head) == head.size() &&
           file.write(filler) == filler.size();
}
