#pragma once

class QCoreApplication;

// Qt's own texts (the file, print and printer set-up dialogs, the standard buttons, the
// edit menus of text fields) in Polish, like every other text of the program, whatever
// the user's locale. Debian ships them in qt6-translations-l10n, in Qt's translations
// folder (qtbase_pl.qm). The words that catalogue lacks (the print dialog's "Pages", ...)
// come from the program's own, built in (resources/translations), installed after Qt's
// so that it is asked first.
//
// Installs the translators into app (they live as its children). Returns false when Qt's
// catalogue is missing, in which case Qt speaks English but for the program's own words.
// Call once, on the UI thread, before the first window is created.
bool InstallQtTranslations(QCoreApplication& app);
