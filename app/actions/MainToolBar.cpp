#include "app/actions/MainToolBar.h"

#include "app/actions/ActionTable.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {
// The client area, in pixels.
constexpr int kClientWidth = 455;
constexpr int kClientHeight = 337;
// Room around a glyph inside its button, each side: enough for the frame that shows
// under the mouse.
constexpr int kGlyphMargin = 2;
} // namespace

QToolBar* CreateMainToolBar(QMainWindow& window)
{
    QToolBar* bar = window.addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    const QSize button = bar->iconSize() + QSize(2 * kGlyphMargin, 2 * kGlyphMargin);
    for (const char* item : MainToolBar()) {
        if (!item) {
            bar->addSeparator();
            continue;
        }
        QAction* action =
            window.findChild<QAction*>(QString::fromLatin1(item), Qt::FindDirectChildrenOnly);
        bar->addAction(action);
        // Styles pad tool buttons for text beside the glyph; these show the glyph alone.
        if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            tool->setFixedSize(button);
    }
    return bar;
}

QSize MainWindowSize(QMainWindow& window, QToolBar& bar)
{
    const int width = std::max(kClientWidth, bar.sizeHint().width());
    const int height = (kClientHeight * width + kClientWidth / 2) / kClientWidth;
    return {width, height + window.menuBar()->sizeHint().height()};
}
