#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every window the user manual shows a picture of, opened as the user meets it, with
// sample contents: the screenshots program draws each into a PNG file, and the manual's
// test checks that each picture in the manual still shows the window as it is now.
namespace ShotCatalogue {

struct Shot
{
    QString name;       // the picture's file name without ".png"
    QWidget* window;    // open and drawn; valid during the call only
    bool qtOwn = false; // one of Qt's own dialogs (file, print)
};

// Opens each window in turn (modal ones inside their own event loop) and hands it to
// take. No message box waits for an answer. Returns the names that did not open.
QStringList TakeAll(const std::function<void(const Shot& shot)>& take);

// What a picture of the window shows in words, one line per control, in the order of the
// widget tree: the window's title, and each visible label, button, check box, group box,
// tab and (in our own windows) list item of a drop-down list. The same for the same
// window whatever the fonts, style, scale or machine; it changes when a control or its
// text does. For Qt's own dialogs, whose labels and lists show the machine's printers and
// files, only the title and the option buttons.
QString Outline(const Shot& shot);

// The key under which a picture carries its outline (a PNG text chunk).
inline constexpr const char* OutlineKey = "zorvex-outline";

} // namespace ShotCatalogue
