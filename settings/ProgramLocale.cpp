#include "settings/ProgramLocale.h"

#include <QByteArray>
#include <QtGlobal>

namespace ProgramLocale {

QLocale Polish()
{
    return QLocale(QLocale::Polish, QLocale::Poland);
}

void Install()
{
    // Qt's own widgets (the file dialog's dates and sizes) ask QLocale::system(), which on
    // Unix Qt reads from LC_ALL, LC_TIME, LANG, ... once, at its first use. It is read
    // here with LC_ALL set to Polish, and the variable is put back at once: the C library
    // and the programs started from here (the browser showing the manual) keep the
    // user's. Windows answers QLocale::system() from its own settings and shows its own
    // file dialog, in the language of the system.
    const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray was = qgetenv("LC_ALL");
    qputenv("LC_ALL", QByteArrayLiteral("pl_PL.UTF-8"));
    (void)QLocale::system();
    if (wasSet)
        qputenv("LC_ALL", was);
    else
        qunsetenv("LC_ALL");
    QLocale::setDefault(Polish());
}

} // namespace ProgramLocale
