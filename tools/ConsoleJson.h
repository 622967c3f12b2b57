#pragma once

#include <QJsonDocument>
#include <QString>

// A JSON document as zvx prints it (indented) where it may reach a terminal: Qt's writer
// escapes the C0 controls itself; DEL and the C1 controls (cp1250's unused bytes, a USB
// string) can only stand inside strings, where an escape means the same character.
QString ConsoleJson(const QJsonDocument& document);
