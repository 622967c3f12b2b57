#pragma once

#include <QChar>
#include <QList>

#include <span>

class QLineEdit;
class QObject;
class UpDown;
struct EditorField;

// Rules shared by the one-byte number fields of the dialing-parameters, PGM-outputs and
// delays dialogs. Their key filters admit digits only, but pasting through the context
// menu, or typing in the middle of a field, can still bring in any text. UI thread only.

// The key filter's rule: key is a digit "0".."9" and the edit's text with that digit
// appended at its end (wherever the caret stands) lies in minimum..maximum.
bool DigitFits(const QLineEdit* edit, QChar key, int minimum, int maximum);

// The key filter of a dialog's number fields (Edit1KeyPress): key passes when sender is
// edits[i] and the digit fits upDowns[i]'s range; it is discarded otherwise, also when
// it was typed into none of the fields.
void FilterNumberKey(const QObject* sender, QChar& key, std::span<QLineEdit* const> edits,
                     std::span<UpDown* const> upDowns);

// Checks every edit with its field's rule before a dialog writes anything: an emptied
// edit first shows its field's empty text ("0", or "1" for a count from 1), then at the
// first text the field refuses (pasted, or typed into the middle of the edit: "'%s' is
// not a valid integer value") the edit gets the focus and EConvertError with the field's
// message is raised; the dialog's guard shows it and the dialog stays open.
void CheckNumberFields(std::span<QLineEdit* const> edits,
                       std::span<const EditorField* const> fields);
