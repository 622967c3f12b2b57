#pragma once

class QCoreApplication;

// Qt's own texts (the file, print and printer set-up dialogs, the standard buttons, the
// edit menus of text fields) in Polish, like every other text of the program, whatever
// the user's locale. Debian ships them in qt6-translations-l10n, in Qt's translations
// folder (qtbase_pl.qm).
//
// Installs the translators into app (they live as its children). Returns false when the
// catalogue is missing, in which case Qt speaks English. Call once, on the UI thread,
// before the first window is created.
bool InstallQtTranslations(QCoreApplication& app);
