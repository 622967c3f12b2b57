#pragma once

#include <QString>

#include <string>

struct EditorField;

// Fields named as the JSON names them (docs/report-json.md): "area.field", or
// "records.N" for description record N (0..13), which is the description area's field
// of that record. Qt Core, any thread.

// The field of key, or nullptr; then problem holds the message that names the keys
// there are: those of the area when the area exists, else the areas' keys.
const EditorField* FieldOfKey(const QString& key, QString& problem);

// "nieznany klucz \"KEY\"; klucze obszaru AREA: a, b, c" (or the list of areas); a long
// key quoted cut (MessageValue).
QString UnknownKeyMessage(const QString& key);

// A field value given as text (a document, the command line) as the field tables take it:
// UTF-8, except that a lone surrogate (a JSON "\ud800", a byte of an argument that was not
// UTF-8) keeps its own three bytes instead of becoming "?", so that the field's check
// refuses it by its number rather than storing a question mark.
std::string FieldValueUtf8(const QString& value);

// A text quoted in a message, cut as MessageValue cuts it.
QString MessageValue(const QString& text);
