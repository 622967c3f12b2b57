// Draws the main window and every dialog the manual shows, as the user meets them, into
// PNG files:
//
//     shots OUTPUT-FOLDER
//
// The scale is the environment's (QT_SCALE_FACTOR); scripts/screenshots runs this at
// 100 % and 150 % into the build folder. Each picture carries the window's outline (the
// texts it shows, ShotCatalogue::Outline), by which the manual's test tells a picture
// that no longer shows its window. It also prints the widths the tool bar needs, so that
// a change of style or glyphs that hides a button shows in the numbers, and fails for a
// window wider than 1280 pixels, which a small laptop's screen would cut.
#include "app/screenshots/ShotCatalogue.h"
#include "settings/ProgramLocale.h"
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>
#include <QToolBar>

#include <cstdio>

namespace {

constexpr int kWidestWindow = 1280; // pixels, at the scale drawn

} // namespace

int main(int argc, char* argv[])
{
    ProgramLocale::Install();
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: shots OUTPUT-FOLDER\n");
        return 2;
    }
    const QString folder = QFileInfo(arguments[1]).absoluteFilePath();
    QDir().mkpath(folder);
    // The file dialog opens in the current folder: the home folder, not the source tree.
    QDir::setCurrent(QDir::homePath());
    if (!InstallQtTranslations(app))
        std::fprintf(stderr, "shots: Qt's Polish translations are missing\n");
    int failures = 0;
    const QStringList missing = ShotCatalogue::TakeAll([&](const ShotCatalogue::Shot& shot) {
        QImage picture = shot.window->grab().toImage();
        picture.setText(QString::fromLatin1(ShotCatalogue::OutlineKey),
                        ShotCatalogue::Outline(shot));
        const QString path = QDir(folder).filePath(shot.name + QStringLiteral(".png"));
        if (!picture.save(path)) {
            std::fprintf(stderr, "shots: cannot write %s\n", qPrintable(path));
            ++failures;
        }
        if (picture.width() > kWidestWindow) {
            std::fprintf(stderr, "shots: %s is %d pixels wide, more than %d\n",
                         qPrintable(shot.name), picture.width(), kWidestWindow);
            ++failures;
        }
        if (shot.name == QLatin1String("main")) {
            auto* bar = shot.window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
            QTextStream(stdout) << "scale " << qEnvironmentVariable("QT_SCALE_FACTOR", "1")
                                << ": window " << shot.window->width() << " x "
                                << shot.window->height() << ", tool bar needs "
                                << (bar ? bar->sizeHint().width() : -1)
                                << " (device-independent pixels)\n";
        }
    });
    for (const QString& name : missing)
        std::fprintf(stderr, "shots: %s did not open\n", qPrintable(name));
    return failures == 0 && missing.isEmpty() ? 0 : 1;
}
