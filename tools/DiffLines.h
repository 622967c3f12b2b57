#pragma once

#include "report/ConfigDiff.h"

#include <QStringList>

// Differences as console lines, one each: area, field, the value in A and the value in
// B, separated by " | ", the values in quotes so that an empty one shows:
//     Numery telefonów | Telefon 1 | "0221234567" | ""
// Control characters that a description record may hold show as their pictures
// (PrintableText): "ul. Długa 1␍␊" and "ul. Długa 1" differ visibly.
QStringList DiffLines(const QList<ConfigDifference>& differences);
