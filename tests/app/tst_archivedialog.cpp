#include "app/archive/ArchiveDialog.h"

#include "app/archive/ArchiveOptionsDialog.h"
#include "settings/TemporaryProgramSettings.h"

#include "archive/ArchiveDatabase.h"
#include "document/ConfigDocument.h"
#include "editors/fields/CodeFields.h"
#include "model/Cp1250.h"
#include "tests/common/FakeReporter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

TZorvexSettings Config(const char* site, const char* phone, const char* code)
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, Utf8ToCp1250(site));
    settings.Cfg.SetDigits(phone, 112, 16);
    CodeFields codes = CodeFields::Load(settings);
    codes.codes[CodeFields::Installer] = code;
    codes.Store(settings);
    return settings;
}

QStringList Sites(const QTreeWidget& list)
{
    QStringList sites;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        sites << list.topLevelItem(i)->text(0);
    return sites;
}

} // namespace

class TstArchiveDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filters_data();
    void filters();
    void showMasksCodes_data();
    void showMasksCodes();
    void restoreMarksModified();
    void options_data();
    void options();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ArchiveDatabase> m_archive;
};

void TstArchiveDialog::initTestCase()
{
    m_archive = std::make_unique<ArchiveDatabase>(ArchiveDatabase::Kind::SQLite,
                                                  m_dir.filePath(QStringLiteral("a.sqlite")));
    QVERIFY(m_archive->Open());
    const struct
    {
        ConfigEvent event;
        const char* site;
        const char* phone;
        const char* code;
    } rows[] = {
        {ConfigEvent::Load, "Apteka", "221111", "11111111"},
        {ConfigEvent::Read, "Bank Łódź", "48602222", "22222222"},
        {ConfigEvent::Write, "Cukiernia", "333", "33333333"},
    };
    for (const auto& r : rows) {
        ArchiveEntry e = ArchiveEntry::Now(r.event, Config(r.site, r.phone, r.code));
        e.port = QStringLiteral("COM1");
        QVERIFY(m_archive->Append(e));
    }
}

void TstArchiveDialog::filters_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("event"); // index in the event filter
    QTest::addColumn<QStringList>("sites");
    QTest::newRow("all, newest first")
        << "" << 0 << QStringList{"Cukiernia", "Bank Łódź", "Apteka"};
    QTest::newRow("text") << "ŁÓDŹ" << 0 << QStringList{"Bank Łódź"};
    QTest::newRow("phone") << "48602" << 0 << QStringList{"Bank Łódź"};
    QTest::newRow("event") << "" << 2 << QStringList{"Cukiernia"};
    QTest::newRow("text and event") << "bank" << 2 << QStringList{};
}

void TstArchiveDialog::filters()
{
    QFETCH(QString, search);
    QFETCH(int, event);
    QFETCH(QStringList, sites);
    FakeReporter reporter;
    ConfigDocument document(reporter);
    ArchiveDialog form(document, *m_archive);
    form.EventFilter->setCurrentIndex(event);
    form.Search->setText(search);
    QCOMPARE(Sites(*form.List), sites);
    QVERIFY(!form.ShowButton->isEnabled()); // nothing chosen yet
}

void TstArchiveDialog::showMasksCodes_data()
{
    QTest::addColumn<bool>("codes");
    QTest::newRow("masked") << false;
    QTest::newRow("codes shown") << true;
}

void TstArchiveDialog::showMasksCodes()
{
    QFETCH(bool, codes);
    FakeReporter reporter;
    ConfigDocument document(reporter);
    ArchiveDialog form(document, *m_archive);
    QStringList shown;
    form.ShowReport = [&](const QString&, const QStringList& lines) { shown = lines; };
    form.ShowCodes->setChecked(codes);
    form.List->setCurrentItem(form.List->topLevelItem(1));
    QVERIFY(form.ShowButton->isEnabled());
    form.ShowButton->click();
    const QString text = shown.join(QLatin1Char('\n'));
    QVERIFY(text.contains(QStringLiteral("Bank Łódź")));
    QCOMPARE(text.contains(QStringLiteral("22222222")), codes);
}

void TstArchiveDialog::restoreMarksModified()
{
    FakeReporter reporter;
    ConfigDocument document(reporter);
    document.LoadDefaults();
    QSignalSpy changed(&document, &ConfigDocument::changed);
    ArchiveDialog form(document, *m_archive);
    form.List->setCurrentItem(form.List->topLevelItem(2));
    form.RestoreButton->click();
    QCOMPARE(document.Settings().Comment.GetText(0), std::string("Apteka"));
    QVERIFY(document.Modified());
    QCOMPARE(changed.size(), 1);
    QVERIFY(reporter.shown.isEmpty()); // no exchange, no box
}

void TstArchiveDialog::options_data()
{
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<int>("years");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("local file") << false << "" << 5 << true;
    QTest::newRow("server") << true << "service=zorvex" << 0 << true;
    QTest::newRow("server without connection") << true << "" << 5 << false;
    QTest::newRow("password") << true << "host=db password=tajne" << 5 << false;
}

void TstArchiveDialog::options()
{
    QFETCH(bool, server);
    QFETCH(QString, connection);
    QFETCH(int, years);
    QFETCH(bool, accepted);
    TemporaryProgramSettings settings;
    ArchiveOptionsDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        (server ? dialog.Server : dialog.LocalFile)->setChecked(true);
        dialog.Connection->setText(connection);
        dialog.KeepYears->setValue(years);
        dialog.KeepCount->setValue(500);
        QTest::keyClick(&dialog, Qt::Key_Return);
        if (dialog.isVisible()) // refused: the reason shows, Escape leaves
            QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    });
    QCOMPARE(dialog.EditAndKeep(), accepted);
    const ArchiveOptions kept = ProgramSettings().Archive();
    if (accepted) {
        QCOMPARE(kept.postgres, server);
        QCOMPARE(kept.connection, connection);
        QCOMPARE(kept.keepYears, years);
        QCOMPARE(kept.keepCount, 500);
    } else {
        QVERIFY(!dialog.Problem->text().isEmpty());
        QCOMPARE(kept, ArchiveOptions{}); // nothing written
        QVERIFY(!settings.Content().contains("tajne"));
    }
}

QTEST_MAIN(TstArchiveDialog)
#include "tst_archivedialog.moc"
