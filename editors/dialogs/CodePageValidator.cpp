#include "editors/dialogs/CodePageValidator.h"

#include "editors/fields/FieldText.h"

CodePageValidator::CodePageValidator(const EditorField& field, QObject* parent)
    : QValidator(parent), m_field(field)
{}

void CodePageValidator::Keep(const QString& text)
{
    m_kept = Refused(text);
}

QHash<char32_t, int> CodePageValidator::Refused(const QString& text) const
{
    QHash<char32_t, int> refused;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i], text[i + 1]), ++i;
        if (!TakesCharacter(m_field, c))
            ++refused[c];
    }
    return refused;
}

QValidator::State CodePageValidator::validate(QString& input, int& /*pos*/) const
{
    const QHash<char32_t, int> refused = Refused(input);
    for (auto it = refused.begin(); it != refused.end(); ++it)
        if (it.value() > m_kept.value(it.key()))
            return Invalid;
    return Acceptable;
}
