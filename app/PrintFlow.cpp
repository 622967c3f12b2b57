#include "app/PrintFlow.h"

#include "model/Exception.h"
#include "resources/ConstsZVX.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {
void PrintOnce(const QStringList& lines, QPrinter& printer, const QFont& font)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(ConstsZVX::PrintError);
    painter.setFont(QFont(font, painter.device()));
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect page = painter.viewport();
    int y = metrics.ascent();
    for (const QString& line : lines) {
        if (y + metrics.descent() > page.height()) {
            if (!printer.newPage())
                throw Exception(ConstsZVX::PrintError);
            y = metrics.ascent();
        }
        painter.drawText(0, y, line);
        y += metrics.lineSpacing();
    }
    if (!painter.end())
        throw Exception(ConstsZVX::PrintError);
}
} // namespace

void PrintReport(const QStringList& lines, QPrinter& printer, const QFont& font, int copies)
{
    // Each copy is a print job of its own, so the driver must not multiply them again.
    printer.setCopyCount(1);
    for (int i = 0; i < copies; ++i)
        PrintOnce(lines, printer, font);
}
