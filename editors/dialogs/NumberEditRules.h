#pragma once

#include <QList>

#include <span>

class QLineEdit;
struct EditorField;

// Rules shared by the one-byte number fields of the dialing-parameters, PGM-outputs and
// delays dialogs. Their key filters admit digits only (FieldKeyFilter.h), but pasting
// through the context menu, or typing in the middle of a field, can still bring in any
// text. UI thread only.

// Checks every edit with its field's rule before a dialog writes anything: an emptied
// edit first shows its field's empty text ("0", or "1" for a count from 1), then at the
// first text the field refuses (pasted, or typed into the middle of the edit: "'%s' is
// not a valid integer value") the edit gets the focus and EConvertError with the field's
// message is raised; the dialog's guard shows it and the dialog stays open.
void CheckNumberFields(std::span<QLineEdit* const> edits,
                       std::span<const EditorField* const> fields);
