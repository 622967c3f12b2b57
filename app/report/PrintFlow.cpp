#include "app/report/PrintFlow.h"

#include "device/MessageFormat.h"
#include "model/Exception.h"
#include "resources/ConstsZVX.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>

namespace {

// Rows printed on the page of their block's heading, so that no heading stands alone.
constexpr int kKeepWithHeading = 3;

struct Piece
{
    QPointF at; // left end of the baseline
    QString text;
    bool bold;
};
using Page = QList<Piece>;

// One line of the report as printed: one or more lines of text in each column.
struct Row
{
    QStringList left;
    QStringList right;
    bool bold = false;
    bool keepWithNext = false;
    qsizetype Lines() const { return std::max(left.size(), right.size()); }
};

QStringList Wrap(const QString& text, const QFont& font, QPaintDevice* device, qreal width)
{
    if (text.trimmed().isEmpty())
        return {QString()};
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max<qreal>(width, 1));
        QString part = text.mid(line.textStart(), line.textLength());
        while (part.endsWith(u' '))
            part.chop(1);
        lines << part;
    }
    layout.endLayout();
    return lines;
}

class PageLayout
{
public:
    PageLayout(const QFont& font, QPaintDevice* device, const QRectF& page)
        : m_font(font), m_bold(font), m_device(device), m_page(page)
    {
        m_bold.setBold(true);
        const QFontMetricsF plain(m_font, m_device);
        const QFontMetricsF bold(m_bold, m_device);
        m_lineHeight = std::max(plain.lineSpacing(), bold.lineSpacing());
        m_ascent = std::max(plain.ascent(), bold.ascent());
        m_gap = plain.horizontalAdvance(QStringLiteral("  "));
        // Room for the page number.
        m_bottom = m_page.height() - 2 * m_lineHeight;
    }

    QList<Page> Paginate(const QStringList& lines)
    {
        SetValueColumn(lines);
        m_pages = {Page()};
        m_y = 0;
        QStringList block;
        for (const QString& line : lines + QStringList{QString()}) {
            if (!line.isEmpty()) {
                block << line;
                continue;
            }
            if (!block.isEmpty())
                PlaceBlock(block);
            block.clear();
        }
        return m_pages;
    }

private:
    void SetValueColumn(const QStringList& lines)
    {
        const QFontMetricsF metrics(m_font, m_device);
        qreal widest = 0;
        for (const QString& line : lines)
            if (const qsizetype tab = line.indexOf(u'\t'); tab >= 0)
                widest = std::max(widest, metrics.horizontalAdvance(line.left(tab)));
        m_valueX = std::min(widest + m_gap, m_page.width() / 2);
    }

    Row MakeRow(const QString& line, bool heading, bool last) const
    {
        Row row;
        const qsizetype tab = line.indexOf(u'\t');
        if (heading) {
            row.bold = true;
            row.left = Wrap(line, m_bold, m_device, m_page.width());
        } else if (tab >= 0) {
            row.left = Wrap(line.left(tab), m_font, m_device, m_valueX - m_gap);
            row.right = Wrap(line.mid(tab + 1), m_font, m_device, m_page.width() - m_valueX);
        } else {
            row.left = Wrap(line, m_font, m_device, m_page.width());
            row.keepWithNext = !last;
        }
        return row;
    }

    void PlaceBlock(const QStringList& block)
    {
        QList<Row> rows;
        for (qsizetype i = 0; i < block.size(); ++i)
            rows << MakeRow(block[i], i == 0, i + 1 == block.size());
        if (m_y > 0)
            m_y += m_lineHeight; // an empty line between blocks
        for (qsizetype i = 0; i < rows.size(); ++i) {
            qsizetype lines = rows[i].Lines();
            if (i == 0) {
                for (qsizetype k = 1; k <= kKeepWithHeading && k < rows.size(); ++k)
                    lines += rows[k].Lines();
            } else if (rows[i].keepWithNext) {
                lines += rows[i + 1].Lines();
            }
            if (m_y > 0 && m_y + lines * m_lineHeight > m_bottom) {
                m_pages << Page();
                m_y = 0;
            }
            Place(rows[i]);
        }
    }

    void Place(const Row& row)
    {
        Page& page = m_pages.last();
        for (qsizetype k = 0; k < row.Lines(); ++k) {
            const qreal baseline = m_page.top() + m_y + m_ascent;
            if (k < row.left.size() && !row.left[k].isEmpty())
                page << Piece{{m_page.left(), baseline}, row.left[k], row.bold};
            if (k < row.right.size() && !row.right[k].isEmpty())
                page << Piece{{m_page.left() + m_valueX, baseline}, row.right[k], row.bold};
            m_y += m_lineHeight;
        }
    }

    QFont m_font;
    QFont m_bold;
    QPaintDevice* m_device;
    QRectF m_page;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    qreal m_gap = 0;
    qreal m_bottom = 0;
    qreal m_valueX = 0;
    QList<Page> m_pages;
    qreal m_y = 0; // top of the next line, from the top of the page
};

void PrintOnce(const QStringList& lines, QPrinter& printer, const QFont& font)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(ConstsZVX::PrintError);
    const QFont plain(font, painter.device());
    QFont bold(plain);
    bold.setBold(true);
    const QRectF area = painter.viewport();
    PageLayout layout(plain, painter.device(), area);
    const QList<Page> pages = layout.Paginate(lines);
    const QFontMetricsF metrics(plain, painter.device());
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer.newPage())
            throw Exception(ConstsZVX::PrintError);
        for (const Piece& piece : pages[p]) {
            painter.setFont(piece.bold ? bold : plain);
            painter.drawText(piece.at, piece.text);
        }
        const QString number = FormatMessage(
            ConstsZVX::ReportPage, {QString::number(p + 1), QString::number(pages.size())});
        painter.setFont(plain);
        painter.drawText(
            QPointF(area.left() + (area.width() - metrics.horizontalAdvance(number)) / 2,
                    area.bottom() - metrics.descent()),
            number);
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
