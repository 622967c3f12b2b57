#include "tools/JsonDocArg.h"

#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "report/JsonChanges.h"
#include "resources/ConstsZVX.h"
#include "tools/ExitStatus.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cstdio>
#include <unistd.h>

namespace {

// A document is a few kilobytes; a larger input is not one.
constexpr qint64 kMaxDocumentBytes = 4 * 1024 * 1024;

// The whole input, up to one byte beyond the limit: standard input or a pipe gives what
// has arrived so far on each read, so it is read until it ends.
bool ReadAll(CommandContext& context, const char* command, const QString& path, QByteArray& bytes,
             QString& error)
{
    QFile file;
    const bool standardInput = path.isEmpty() || path == QLatin1String("-");
    const bool opened = standardInput
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(QString::fromStdString(FileNameBytes(path))),
                               file.open(QIODevice::ReadOnly));
    if (opened && standardInput && isatty(STDIN_FILENO)) {
        context.err << "zvx " << command << ": "
                    << QString::fromUtf8(ConstsZVX::DocumentFromTerminal) << '\n';
        context.err.flush();
    }
    while (opened && bytes.size() <= kMaxDocumentBytes) {
        const QByteArray piece = file.read(kMaxDocumentBytes + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (!opened || file.error() != QFileDevice::NoError) {
        error =
            QStringLiteral("Błąd odczytu pliku: %1 (%2)")
                .arg(PrintableText(standardInput ? QStringLiteral("-") : path), file.errorString());
        return false;
    }
    return true;
}

} // namespace

int ReportFieldFailures(CommandContext& context, const char* command,
                        const std::vector<FieldFailure>& failures)
{
    for (const FieldFailure& failure : failures)
        context.err << "zvx " << command << ": "
                    << PrintableText(QString::fromStdString(failure.key)) << ": "
                    << PrintableText(QString::fromStdString(failure.message)) << '\n';
    return ExitStatus::InvalidValue;
}

int ApplyJsonDocArg(CommandContext& context, const char* command, const QString& path,
                    TZorvexSettings& settings)
{
    QByteArray bytes;
    QString error;
    if (!ReadAll(context, command, path, bytes, error)) {
        context.err << "zvx " << command << ": " << error << '\n';
        return ExitStatus::FileError;
    }
    if (bytes.size() > kMaxDocumentBytes) {
        context.err << "zvx " << command << ": "
                    << FormatMessage(ConstsZVX::DocumentTooLarge,
                                     {QString::number(kMaxDocumentBytes)})
                    << '\n';
        return ExitStatus::Usage;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (!document.isObject()) {
        const QString what =
            document.isNull()
                ? QStringLiteral("%1 (znak %2)").arg(parse.errorString()).arg(parse.offset)
                : QStringLiteral("oczekiwano obiektu JSON");
        context.err << "zvx " << command << ": nieprawidłowy dokument JSON: " << what << '\n';
        return ExitStatus::Usage;
    }
    const JsonChanges changes = ReadJsonChanges(document.object());
    if (!changes.problems.isEmpty()) {
        for (const QString& problem : changes.problems)
            context.err << "zvx " << command << ": " << PrintableText(problem) << '\n';
        return ExitStatus::Usage;
    }
    if (!changes.ignored.isEmpty())
        context.err << "zvx " << command << ": pominięto klucze tylko do odczytu: "
                    << PrintableText(changes.ignored.join(QStringLiteral(", "))) << '\n';
    const std::vector<FieldFailure> failures = ApplyJsonChanges(changes, settings);
    if (!failures.empty())
        return ReportFieldFailures(context, command, failures);
    return ExitStatus::Success;
}
