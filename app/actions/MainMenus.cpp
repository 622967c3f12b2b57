#include "app/actions/MainMenus.h"

#include "app/actions/ActionTable.h"
#include "app/actions/MainToolBar.h"
#include "widgets/Glyphs.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

namespace {

QAction* ActionNamed(QMainWindow& window, const char* name)
{
    return window.findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

} // namespace

void BuildMainActions(QMainWindow& window, const ActionRunner& runnerOf)
{
    for (const ActionSpec& entry : MainActions()) {
        auto* action = new QAction(QString::fromUtf8(entry.caption), &window);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setProperty("category", QString::fromUtf8(entry.category));
        if (entry.hint)
            action->setToolTip(QString::fromUtf8(entry.hint));
        if (entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        if (entry.image >= 0)
            action->setIcon(Glyphs::Icon(entry.image));
        action->setProperty("imageIndex", entry.image);
        QObject::connect(action, &QAction::triggered, &window, runnerOf(entry.name));
        window.addAction(action);
    }

    for (const MenuSpec& entry : MainMenus()) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(entry.title));
        for (const char* item : entry.items) {
            if (item)
                menu->addAction(ActionNamed(window, item));
            else
                menu->addSeparator();
        }
    }

    CreateMainToolBar(window);
}
