#pragma once

#include <QHash>
#include <QValidator>

struct EditorField;

// A line edit of a field without keys (a description record) that lets in only the
// characters the field takes (TakesCharacter: Windows-1250, no control characters),
// however they come: typed, pasted, dropped or put in by an input method. An edit that
// would bring in another one is undone whole. What the edit was given by the program
// (Keep: a record read from a file may hold a line break) stays as it is, so that nothing
// of a record is lost by opening it. UI thread only.
class CodePageValidator : public QValidator
{
    Q_OBJECT
public:
    CodePageValidator(const EditorField& field, QObject* parent);

    // The text the edit is given next (before setText): its characters the field does
    // not take may stay, as many of each as it holds.
    void Keep(const QString& text);

    State validate(QString& input, int& pos) const override;

private:
    // How many of each character the field does not take text holds.
    QHash<char32_t, int> Refused(const QString& text) const;

    const EditorField& m_field;
    QHash<char32_t, int> m_kept;
};
