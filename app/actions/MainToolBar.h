#pragma once

#include <QSize>

class QMainWindow;
class QToolBar;

// The main window's tool bar: an image button for each action of MainToolBar(), in its
// order, with its separators. The window's actions must exist already (found by name).
// The buttons sit tight around their 16 x 16 glyphs, so that the whole bar fits the
// width of the window's picture and nothing goes into the bar's "»" menu. UI thread only.
QToolBar* CreateMainToolBar(QMainWindow& window);

// The window's size for its client area of 455 x 337 pixels (picture, tool bar and status
// bar), with the menu bar on top. A style whose tool bar is still wider than that makes the
// window as wide as the bar and taller in the same proportion, so that every button shows
// and the picture keeps its proportions.
QSize MainWindowSize(QMainWindow& window, QToolBar& bar);
