#pragma once

#include <functional>

class ConfigDocument;
class QString;
class QWidget;
class DifferencesDialog;

// The main window's file jobs on the document: the file dialog, the document's load or
// save, the messages. A file that cannot be read or written raises EIOException with
// the file's message, which the window's error guard shows; a cancelled file dialog
// does nothing. UI thread only.

// "Zapamiętanie konfiguracji na dysku": asks for the file, saves there and says so.
void SaveDocumentAs(ConfigDocument& document, QWidget* parent);
// Before the window closes: with unsaved changes asks "Zapisać zmiany w konfiguracji?";
// "&Tak" saves as above (an error is shown here) and "&Nie" discards. False when the
// window must stay open: "Anuluj", or a save that did not happen.
bool SaveChangesBeforeClose(ConfigDocument& document, QWidget* parent);
// "Odczyt konfiguracji z dysku": asks for the file and loads it.
void AskAndLoadDocument(ConfigDocument& document, QWidget* parent);
// Loads name as the load action does (a file named on the command line); a load the
// user declines changes nothing.
void LoadDocumentFile(ConfigDocument& document, const QString& name);
// "Porównaj z plikiem...": asks for the file and lists how the document differs from it,
// through showDialog (DifferencesDialog is modal when it is empty).
void CompareDocumentWithFile(const ConfigDocument& document, QWidget* parent,
                             const std::function<void(DifferencesDialog& dialog)>& showDialog);
