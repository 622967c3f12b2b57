#include "tests/report/ReportSample.h"

#include "app/UnitMainForm.h"
#include "app/files/FileDialogs.h"
#include "app/report/AppPrinter.h"
#include "app/report/PdfReport.h"
#include "app/report/PrintFlow.h"
#include "app/report/PrintedReport.h"
#include "app/report/ReportOptionsDialog.h"
#include "device/TZorvexSettingsControl.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

// The text of a PDF, one string per page (pdftotext ends each page with a form feed).
QStringList PdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
            {pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A page's lines without blanks and without its page number.
QStringList BodyLines(const QString& page)
{
    QStringList lines;
    for (const QString& line : page.split(u'\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith(QStringLiteral("Strona ")))
            lines << line.trimmed();
    return lines;
}

const QFont& ReportFont()
{
    static const QFont font(QStringLiteral("DejaVu Sans"), 10);
    return font;
}

} // namespace

// The report on paper and in PDF: its text, its page breaks and page numbers, and the two
// actions of the main window that make it.
class TstReportPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pdfHoldsTheReport();
    void headingsStayWithTheirRows();
    void longTextWraps();
    void suggestedPdfName_data();
    void suggestedPdfName();
    void pdfActionWritesCustomerCopy();
    void pdfActionCancelled_data();
    void pdfActionCancelled();
    void pdfActionUnwritableFile();
    void printActionNamesTheSavedFile();

private:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

void TstReportPrint::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed (scripts/install-deps brings poppler-utils)");
}

void TstReportPrint::cleanup()
{
    InstallCustomerCopyHandler({});
    InstallPdfFileDialogHandler({});
    InstallPrinterDialogHandler({});
    InstallFileDialogHandler({});
}

void TstReportPrint::pdfHoldsTheReport()
{
    const QString pdf = Path("sample.pdf");
    SaveReportPdf(PrintedReportLines(ReportSample::Settings(), QString(), false), pdf,
                  ReportFont());
    const QStringList pages = PdfPages(pdf);
    QVERIFY(pages.size() >= 2);
    const QString text = pages.join(u'\n');
    for (const char* expected :
         {"Programator dialera Zorvex", "Sklep „Pod Lipą” Żółć", "0221234567", "ALARM 1", "4711",
          "Wejście alarmowe", "14:RADIONICS 2300 EXTENDED WITH PARITY", "21:05", "NIE BYŁO",
          "Historia zdarzeń"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    for (int i = 0; i < pages.size(); ++i)
        QVERIFY2(pages[i].contains(QStringLiteral("Strona %1 z %2").arg(i + 1).arg(pages.size())),
                 qPrintable(pages[i]));
}

void TstReportPrint::headingsStayWithTheirRows()
{
    // Blocks of varying length in a large font, so that pages break everywhere.
    QStringList lines;
    for (int b = 1; b <= 30; ++b) {
        if (b > 1)
            lines << QString();
        lines << QStringLiteral("Blok %1").arg(b);
        for (int r = 1; r <= (b % 7) + 1; ++r)
            lines << QStringLiteral("  Pole %1.%2:\twartość %1.%2").arg(b).arg(r);
    }
    const QString pdf = Path("blocks.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintReport(lines, printer, QFont(QStringLiteral("DejaVu Sans"), 16), 1);
    const QStringList pages = PdfPages(pdf);
    QVERIFY(pages.size() >= 3);
    int headings = 0;
    for (const QString& page : pages) {
        const QStringList body = BodyLines(page);
        QVERIFY(!body.isEmpty());
        for (int i = 0; i < body.size(); ++i) {
            if (!body[i].startsWith(QStringLiteral("Blok ")))
                continue;
            ++headings;
            // The heading's first row follows it on the same page.
            const QString block = body[i].mid(5);
            QVERIFY2(i + 1 < body.size(), qPrintable(page));
            QVERIFY2(body.mid(i + 1).join(u' ').contains(QStringLiteral("Pole %1.1").arg(block)),
                     qPrintable(page));
        }
        QVERIFY2(page.contains(QStringLiteral(" z %1").arg(pages.size())), qPrintable(page));
    }
    QCOMPARE(headings, 30);
}

void TstReportPrint::longTextWraps()
{
    QStringList words;
    for (int i = 0; i < 60; ++i)
        words << QStringLiteral("słowo%1").arg(i);
    const QString pdf = Path("long.pdf");
    SaveReportPdf({QStringLiteral("Nagłówek"), QStringLiteral("  Opis:\t") + words.join(u' '),
                   words.join(u' ')},
                  pdf, ReportFont());
    const QString text = PdfPages(pdf).join(u' ');
    for (const QString& word : words)
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word))), 2);
}

void TstReportPrint::suggestedPdfName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the file")
        << "/srv/obiekty/sklep.zvx" << false << "/srv/obiekty/sklep.pdf";
    QTest::newRow("customer copy")
        << "/srv/obiekty/sklep.ZVX" << true << "/srv/obiekty/sklep-klient.pdf";
    QTest::newRow("no file") << "" << false << "raport.pdf";
    QTest::newRow("no file, customer") << "" << true << "raport-klient.pdf";
}

void TstReportPrint::suggestedPdfName()
{
    QFETCH(QString, file);
    QFETCH(bool, masked);
    QFETCH(QString, expected);
    QCOMPARE(SuggestedPdfName(file, masked), expected);
}

void TstReportPrint::pdfActionWritesCustomerCopy()
{
    TMainFormZORVEX window;
    window.setFont(ReportFont());
    window.Link().Settings() = ReportSample::Settings();
    const QString pdf = Path("klient.pdf");
    QString suggested;
    InstallCustomerCopyHandler([] { return std::optional<bool>(true); });
    InstallPdfFileDialogHandler([&](const QString& name) {
        suggested = name;
        return pdf;
    });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("ZapiszRaportDoPDF"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Raport został zapisany w pliku: ") + pdf});
    QCOMPARE(suggested, QStringLiteral("raport-klient.pdf"));
    QVERIFY(window.Report.contains(QStringLiteral("  KU0:\t****")));
    const QString text = PdfPages(pdf).join(u'\n');
    QVERIFY(text.contains(QStringLiteral("Kopia dla klienta (bez kodów dostępu)")));
    QVERIFY(text.contains(QStringLiteral("0221234567")));
    for (const QString& code : ReportSample::Codes)
        QVERIFY2(!text.contains(code), qPrintable(code));
}

void TstReportPrint::pdfActionCancelled_data()
{
    QTest::addColumn<bool>("cancelOptions");
    QTest::newRow("options") << true;
    QTest::newRow("file dialog") << false;
}

void TstReportPrint::pdfActionCancelled()
{
    QFETCH(bool, cancelOptions);
    TMainFormZORVEX window;
    int asked = 0;
    InstallCustomerCopyHandler(
        [&] { return cancelOptions ? std::nullopt : std::optional<bool>(false); });
    InstallPdfFileDialogHandler([&](const QString&) {
        ++asked;
        return QString();
    });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("ZapiszRaportDoPDF"))->trigger();
    QCOMPARE(asked, cancelOptions ? 0 : 1);
    QCOMPARE(boxes.Count(), 0);
    QVERIFY(window.Report.isEmpty());
}

void TstReportPrint::pdfActionUnwritableFile()
{
    TMainFormZORVEX window;
    InstallCustomerCopyHandler([] { return std::optional<bool>(false); });
    InstallPdfFileDialogHandler([&](const QString&) { return Path("no/such/folder/r.pdf"); });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("ZapiszRaportDoPDF"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Błąd zapisu pliku")});
}

void TstReportPrint::printActionNamesTheSavedFile()
{
    TMainFormZORVEX window;
    window.setFont(ReportFont());
    window.Link().Settings() = ReportSample::Settings();
    const QString file = Path("sklep.zvx");
    InstallFileDialogHandler([&](const FileDialogRequest&) { return file; });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku"))->trigger();
    QCOMPARE(boxes.Count(), 1);

    const QString pdf = Path("printed.pdf");
    int printed = 0;
    InstallCustomerCopyHandler([] { return std::optional<bool>(false); });
    InstallPrinterDialogHandler([&](QPrinter& printer, QWidget*) {
        ++printed;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    window.Action(QStringLiteral("WydrukKonfiguracji"))->trigger();
    QCOMPARE(printed, 1);
    QVERIFY(window.Report.contains(QStringLiteral("  Plik:\t") + file));
    QVERIFY(window.Report.contains(QStringLiteral("  KU0:\t4711")));
    const QString text = PdfPages(pdf).join(u'\n');
    QVERIFY2(text.contains(QStringLiteral("sklep.zvx")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("4711")));

    // Changed after the save: the report says the file no longer holds it.
    window.Link().Settings().Cfg.SetByte(45, 9);
    window.Action(QStringLiteral("WydrukKonfiguracji"))->trigger();
    QVERIFY(
        window.Report.contains(QStringLiteral("  Plik:\t") + file +
                               QStringLiteral(" (konfiguracja różni się od zapisanej w pliku)")));
    QCOMPARE(boxes.Count(), 1);
}

QTEST_MAIN(TstReportPrint)
#include "tst_reportprint.moc"
