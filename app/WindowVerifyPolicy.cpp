#include "app/WindowVerifyPolicy.h"

#include "app/VerifyQuestion.h"
#include "settings/ProgramSettings.h"

std::optional<bool> WindowVerifyPolicy::Kept()
{
    return ProgramSettings().VerifyAfterWrite();
}

VerifyChoice WindowVerifyPolicy::Ask()
{
    const VerifyAnswer answer = AskVerifyAfterWrite(m_parent);
    return {answer.verify, answer.dontAskAgain};
}

void WindowVerifyPolicy::Keep(bool verify)
{
    ProgramSettings().SetVerifyAfterWrite(verify);
}
