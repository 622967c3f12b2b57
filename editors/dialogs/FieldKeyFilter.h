#pragma once

#include <QChar>

#include <span>

class QLineEdit;
class QObject;
class QString;
struct EditorField;

// The dialogs' key filters (Edit1KeyPress, Memo1KeyPress) consult the field tables: what a
// field lets the user type is written once, in its table (EditorField::keys, upperCase,
// the range of a number), and the command line's "zvx set" reads the same. UI thread only.

// key, typed into the field's control while it holds text, as the field's table filters
// it (FilteredKey): passed, turned into upper case, or discarded (set to QChar()).
void FilterFieldKey(const EditorField& field, const QString& text, QChar& key);

// The same for a dialog's line edits: sender is the edit the key was typed into, edits[i]
// edits fields[i]; a key typed into none of them is discarded.
void FilterFieldKey(const QObject* sender, QChar& key, std::span<QLineEdit* const> edits,
                    std::span<const EditorField* const> fields);
