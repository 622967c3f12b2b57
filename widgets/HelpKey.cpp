#include "widgets/HelpKey.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include <utility>

namespace HelpKey {

namespace {
Opener& CurrentOpener()
{
    static Opener opener;
    return opener;
}
} // namespace

Opener InstallOpener(Opener opener)
{
    return std::exchange(CurrentOpener(), std::move(opener));
}

void OpenPage(const QString& page)
{
    if (CurrentOpener())
        CurrentOpener()(page);
}

void Bind(QWidget* window, const QString& page)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, [page] { OpenPage(page); });
}

} // namespace HelpKey
