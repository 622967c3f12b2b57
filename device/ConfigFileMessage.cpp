#include "device/ConfigFileMessage.h"

#include "device/FileNames.h"
#include "resources/ConstsZVX.h"

#include <cstring>

namespace ConfigFile {

QString Message(const Result& result, Action action, const QString& path)
{
    const char* words = nullptr;
    switch (result.outcome) {
    case Outcome::Ok:
        return {};
    case Outcome::WrongSize:
        words = action == Action::Load ? ConstsZVX::FileSizeError : ConstsZVX::FileSaveError;
        break;
    case Outcome::WrongFormat:
        words = action == Action::Load ? ConstsZVX::FileFormatError : ConstsZVX::FileSaveError;
        break;
    case Outcome::NotRegularFile:
    case Outcome::SystemError:
        words = action == Action::Load ? ConstsZVX::FileReadError : ConstsZVX::FileSaveError;
        break;
    }
    QString text = QString::fromUtf8(words);
    if (path.isNull())
        return text;
    text += QStringLiteral(": ") + PrintableText(path);
    if (result.outcome == Outcome::NotRegularFile)
        text += QStringLiteral(" (") + QString::fromUtf8(ConstsZVX::NotRegularFile) + u')';
    else if (result.outcome == Outcome::SystemError)
        text += QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(result.error)) + u')';
    return text;
}

} // namespace ConfigFile
