#pragma once

#include <QString>

struct EditorField;

// Fields named as the JSON names them (docs/report-json.md): "area.field", or
// "records.N" for description record N (0..13), which is the description area's field
// of that record. Qt Core, any thread.

// The field of key, or nullptr; then problem holds the message that names the keys
// there are: those of the area when the area exists, else the areas' keys.
const EditorField* FieldOfKey(const QString& key, QString& problem);

// "nieznany klucz \"KEY\"; klucze obszaru AREA: a, b, c" (or the list of areas).
QString UnknownKeyMessage(const QString& key);
