#include "editors/dialogs/UpperCaseValidator.h"

UpperCaseValidator::UpperCaseValidator(QObject* parent) : QValidator(parent) {}

QValidator::State UpperCaseValidator::validate(QString& input, int& /*pos*/) const
{
    input = input.toUpper();
    return Acceptable;
}
