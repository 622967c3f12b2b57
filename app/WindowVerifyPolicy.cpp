#include "app/WindowVerifyPolicy.h"

#include "app/VerifyQuestion.h"
#include "widgets/IniFile.h"
#include "widgets/ProgramSettings.h"

#include <QFileInfo>

namespace {

QString Section()
{
    return QString::fromLatin1(ProgramSettings::kSection);
}

QString Key()
{
    return QStringLiteral("VerifyAfterWrite");
}

} // namespace

std::optional<bool> WindowVerifyPolicy::Kept()
{
    const int kept = IniFile(ProgramSettings::Path()).ReadInteger(Section(), Key(), -1);
    if (kept == 0 || kept == 1)
        return kept == 1;
    return std::nullopt;
}

VerifyChoice WindowVerifyPolicy::Ask()
{
    const VerifyAnswer answer = AskVerifyAfterWrite(m_parent);
    return {answer.verify, answer.dontAskAgain};
}

void WindowVerifyPolicy::Keep(bool verify)
{
    const QString path = ProgramSettings::Path();
    // A settings file that is not there means COM2 at start-up, one without "Port" COM1:
    // a new file says COM2, as its absence did.
    if (!QFileInfo::exists(path))
        IniFile(path).WriteInteger(Section(), QString::fromLatin1(ProgramSettings::kPortKey), 2);
    IniFile(path).WriteInteger(Section(), Key(), verify ? 1 : 0);
}
