#include "widgets/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool Install(QCoreApplication& app, const QString& file, const QString& folder)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(file, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

bool InstallQtTranslations(QCoreApplication& app)
{
    // The program's own texts are Polish, so Qt's are too, not the locale's language.
    const bool qt = Install(app, QStringLiteral("qtbase_pl"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Install(app, QStringLiteral("zorvex_pl"), QStringLiteral(":/translations"));
    return qt;
}
