#pragma once

#include "archive/ArchiveEntry.h"

#include <QString>
#include <QStringList>

#include <functional>

class ConfigDocument;
class DifferencesDialog;
class QWidget;

// Runs the list of differences (modal when empty).
using DifferencesRunner = std::function<void(DifferencesDialog& dialog)>;

// What the archive window does with an entry it has read in full (with its configuration).
// A file that cannot be written raises Exception with the file's message, which the
// window's error guard shows. UI thread only.

// How a column of differences or a message names entry: "Wpis 12 z 2026-01-02 10:00".
QString EntryColumnTitle(const ArchiveEntry& entry);
// "Pokaż": the entry's report, dated with the entry's time; masked: access codes as "****".
QStringList EntryReportLines(const ArchiveEntry& entry, bool masked);
// "Porównaj z bieżącą": the program's configuration against entry's.
void CompareWithDocument(const ConfigDocument& document, const ArchiveEntry& entry, QWidget* parent,
                         const DifferencesRunner& run);
// "Porównaj z..." with two entries chosen: a against b, each column named by its entry.
void CompareEntries(const ArchiveEntry& a, const ArchiveEntry& b, QWidget* parent,
                    const DifferencesRunner& run);
// "Porównaj z..." with one: asks for a file and compares entry against it (the second
// column named by the file). A file that cannot be read raises Exception.
void CompareEntryWithFile(const ArchiveEntry& entry, QWidget* parent, const DifferencesRunner& run);
// "Przywróć": when the configuration in the program has unsaved changes, asks first (Yes
// or Cancel, as before a load or a read); then takes entry's configuration into the
// document as an edit (marked modified; nothing goes to the dialer). Returns what the
// status bar says of it, empty when the user declined.
QString RestoreEntry(ConfigDocument& document, const ArchiveEntry& entry, QWidget* parent);
// "Zapisz jako...": asks for the file, saves entry's configuration there through the
// document (the archive keeps the save) and says where, as "Zapamiętanie konfiguracji na
// dysku" does.
void SaveEntryAs(ConfigDocument& document, const ArchiveEntry& entry, QWidget* parent);
