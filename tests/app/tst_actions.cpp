#include "app/actions/ActionTable.h"
#include "app/actions/EditorActions.h"
#include "app/actions/MainFormHandlers.h"

#include <QKeySequence>
#include <QtTest>

#include <functional>

namespace {

// The window's tables of action names, as plain lists.
struct Tables
{
    QStringList actions;   // the action list
    QStringList shortcuts; // per action, "" for none
    QStringList handlers;  // the window's own handlers, then the editor actions
    QList<QStringList> menus;
    QStringList toolBar; // separators left out
};

QString Name(const char* name)
{
    return QString::fromLatin1(name);
}

Tables ProgramTables()
{
    Tables t;
    for (const ActionSpec& action : MainActions()) {
        t.actions << Name(action.name);
        t.shortcuts << (action.shortcut ? Name(action.shortcut) : QString());
    }
    for (const ActionHandler& handler : MainFormHandlers())
        t.handlers << Name(handler.action);
    for (const EditorAction& editor : EditorActions())
        t.handlers << Name(editor.name);
    for (const MenuSpec& menu : MainMenus()) {
        QStringList items;
        for (const char* item : menu.items)
            if (item)
                items << Name(item);
        t.menus << items;
    }
    for (const char* item : MainToolBar())
        if (item)
            t.toolBar << Name(item);
    return t;
}

// Everything that would make an action silently do nothing, or be out of reach.
QStringList Problems(const Tables& t)
{
    QStringList problems;
    for (const QString& action : t.actions) {
        if (t.actions.count(action) > 1 && !problems.contains(action + ": listed twice"))
            problems << action + ": listed twice";
        const qsizetype handlers = t.handlers.count(action);
        if (handlers != 1)
            problems << QStringLiteral("%1: %2 handlers").arg(action).arg(handlers);
        int menus = 0;
        for (const QStringList& menu : t.menus)
            menus += int(menu.count(action));
        if (menus != 1)
            problems << QStringLiteral("%1: in %2 menus").arg(action).arg(menus);
    }
    const auto unknown = [&](const QStringList& names, const QString& what) {
        for (const QString& name : names)
            if (!t.actions.contains(name))
                problems << QStringLiteral("%1 %2: no such action").arg(what, name);
    };
    unknown(t.handlers, QStringLiteral("handler"));
    for (const QStringList& menu : t.menus)
        unknown(menu, QStringLiteral("menu item"));
    unknown(t.toolBar, QStringLiteral("tool-bar button"));
    // Two actions on one key: Qt calls the shortcut ambiguous and runs neither.
    for (qsizetype i = 0; i < t.shortcuts.size(); ++i)
        for (qsizetype j = i + 1; j < t.shortcuts.size(); ++j)
            if (!t.shortcuts[i].isEmpty() &&
                QKeySequence(t.shortcuts[i]) == QKeySequence(t.shortcuts[j]))
                problems
                    << QStringLiteral("%1: shortcut of %2 too").arg(t.actions[i], t.actions[j]);
    return problems;
}

using Change = std::function<void(Tables&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

// The window's actions are named by strings in the action list, the menus, the tool bar
// and two handler tables; the compiler checks each name against the action list
// (ActionName), and this test what it cannot see: every action has exactly one handler
// and one menu, and no two share a shortcut. Each row after the first breaks the
// program's own tables the way an edit could, to show that the check sees it.
class TstActions : public QObject
{
    Q_OBJECT

private slots:
    void everyActionRuns_data();
    void everyActionRuns();
};

void TstActions::everyActionRuns_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("problems");

    QTest::newRow("the program's tables") << Change([](Tables&) {}) << QStringList();
    QTest::newRow("handler misspelt")
        << Change([](Tables& t) {
               t.handlers[t.handlers.indexOf("OdczytKonfiguracjiDialera")] =
                   "OdczytKonfiguracjiDialer";
           })
        << QStringList{"OdczytKonfiguracjiDialera: 0 handlers",
                       "handler OdczytKonfiguracjiDialer: no such action"};
    QTest::newRow("editor action handled by the window too")
        << Change([](Tables& t) { t.handlers << "Zwloki"; }) << QStringList{"Zwloki: 2 handlers"};
    QTest::newRow("action without a menu")
        << Change([](Tables& t) { t.menus.last().removeAll("OFirmie"); })
        << QStringList{"OFirmie: in 0 menus"};
    QTest::newRow("tool-bar button misspelt")
        << Change([](Tables& t) { t.toolBar.replace(0, "OpcjeProgramow"); })
        << QStringList{"tool-bar button OpcjeProgramow: no such action"};
    QTest::newRow("shortcut given twice")
        << Change([](Tables& t) { t.shortcuts[t.actions.indexOf("ZapiszRaportDoPDF")] = "F8"; })
        << QStringList{"WydrukKonfiguracji: shortcut of ZapiszRaportDoPDF too"};
}

void TstActions::everyActionRuns()
{
    QFETCH(Change, change);
    QFETCH(QStringList, problems);
    Tables tables = ProgramTables();
    change(tables);
    QCOMPARE(Problems(tables), problems);
}

QTEST_APPLESS_MAIN(TstActions)
#include "tst_actions.moc"
