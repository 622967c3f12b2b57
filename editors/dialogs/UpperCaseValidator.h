#pragma once

#include <QValidator>

// Shows every letter of a line edit in upper case, whether typed or pasted, and so
// stores it in upper case too. Accepts any text.
class UpperCaseValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UpperCaseValidator(QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
};
