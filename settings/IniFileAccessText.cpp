#include "settings/IniFileAccess.h"

#include "resources/ConstsZVX.h"

#include <cstring>

// The user's words, the same on every platform (the file access itself is per platform).
namespace IniFileAccess {

QString Describe(State state, const QString& fileName, int error, const char* consequence)
{
    const char* reason = nullptr;
    switch (state) {
    case State::Regular:
    case State::Missing:
        return {};
    case State::NotRegular:
        reason = ConstsZVX::SettingsNotRegular;
        break;
    case State::TooLarge:
        reason = ConstsZVX::SettingsTooLarge;
        break;
    case State::Unreadable:
        reason = ConstsZVX::SettingsUnreadable;
        break;
    }
    QString text = QString::fromUtf8(reason);
    // The name first: a reason that itself holds "%s" must not be filled in twice.
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    text.replace(at, 2, fileName);
    const qsizetype second = text.indexOf(QLatin1String("%s"), at + fileName.size());
    if (second >= 0)
        text.replace(second, 2, QString::fromLocal8Bit(std::strerror(error)));
    return text + QString::fromUtf8(consequence);
}

} // namespace IniFileAccess
