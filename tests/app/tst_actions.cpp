#include "app/actions/ActionTable.h"
#include "app/actions/EditorActions.h"
#include "app/actions/MainFormHandlers.h"

#include <QKeySequence>
#include <QtTest>

#include <functional>

namespace {

// The window's tables of action names as lists: "actions" and their "shortcuts" ("" for
// none), the "handlers" (the window's own, then the editor actions), every "menus" item
// and the "toolBar" buttons (separators left out).
using Tables = QMap<QString, QStringList>;

Tables ProgramTables()
{
    Tables t;
    for (const ActionSpec& action : MainActions()) {
        t["actions"] << action.name;
        t["shortcuts"] << (action.shortcut ? action.shortcut : "");
    }
    for (const ActionHandler& handler : MainFormHandlers())
        t["handlers"] << handler.action;
    for (const EditorAction& editor : EditorActions())
        t["handlers"] << editor.name;
    for (const MenuSpec& menu : MainMenus())
        for (const char* item : menu.items)
            if (item)
                t["menus"] << item;
    for (const char* item : MainToolBar())
        if (item)
            t["toolBar"] << item;
    return t;
}

// Everything that makes an action silently do nothing, or puts it out of reach.
QStringList Problems(Tables t)
{
    QStringList problems;
    const QStringList& actions = t["actions"];
    for (const QString& action : actions)
        for (const QString table : {"handlers", "menus"})
            if (const qsizetype count = t[table].count(action); count != 1)
                problems << QStringLiteral("%1: %2 in %3").arg(action).arg(count).arg(table);
    for (const QString table : {"handlers", "menus", "toolBar"})
        for (const QString& name : t[table])
            if (!actions.contains(name))
                problems << QStringLiteral("%1 in %2: no such action").arg(name, table);
    // Two actions on one key: Qt calls the shortcut ambiguous and runs neither.
    const QStringList& keys = t["shortcuts"];
    for (qsizetype i = 0; i < keys.size(); ++i)
        for (qsizetype j = i + 1; j < keys.size(); ++j)
            if (!keys[i].isEmpty() && QKeySequence(keys[i]) == QKeySequence(keys[j]))
                problems << QStringLiteral("%1: shortcut of %2 too").arg(actions[i], actions[j]);
    return problems;
}

using Change = std::function<void(Tables&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

// The window's actions are named by strings in the action list, the menus, the tool bar
// and two handler tables. The compiler checks each name against the action list
// (ActionName); this test checks what it cannot see: every action has exactly one handler
// and one menu item, and no two share a shortcut. The rows after the first break the
// program's own tables as an edit could, to show that the check sees it.
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
    QTest::newRow("handler misspelt") << Change([](Tables& t) {
        t["handlers"].replace(0, "OpcjeProgramow");
    }) << QStringList{"OpcjeProgramu: 0 in handlers", "OpcjeProgramow in handlers: no such action"};
    QTest::newRow("editor action handled by the window too")
        << Change([](Tables& t) { t["handlers"] << "Zwloki"; })
        << QStringList{"Zwloki: 2 in handlers"};
    QTest::newRow("action in no menu") << Change([](Tables& t) { t["menus"].removeAll("OFirmie"); })
                                       << QStringList{"OFirmie: 0 in menus"};
    QTest::newRow("tool-bar button misspelt")
        << Change([](Tables& t) { t["toolBar"].replace(0, "OpcjeProgramow"); })
        << QStringList{"OpcjeProgramow in toolBar: no such action"};
    QTest::newRow("shortcut given twice") << Change([](Tables& t) {
        t["shortcuts"][t["actions"].indexOf("ZapiszRaportDoPDF")] = "F8";
    }) << QStringList{"WydrukKonfiguracji: shortcut of ZapiszRaportDoPDF too"};
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
