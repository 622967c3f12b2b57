#include "app/dialer/SettingsVerifyPolicy.h"

#include "app/dialer/VerifyQuestion.h"
#include "settings/ProgramSettings.h"

std::optional<bool> SettingsVerifyPolicy::Kept()
{
    return ProgramSettings().VerifyAfterWrite();
}

VerifyChoice SettingsVerifyPolicy::Ask()
{
    const VerifyAnswer answer = AskVerifyAfterWrite(m_parent);
    return {answer.verify, answer.dontAskAgain};
}

void SettingsVerifyPolicy::Keep(bool verify)
{
    ProgramSettings().SetVerifyAfterWrite(verify);
}
