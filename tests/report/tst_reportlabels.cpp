#include "ReportSample.h"

#include "editors/dialogs/UnitAlarmIn.h"
#include "editors/dialogs/UnitAlarmOut.h"
#include "editors/dialogs/UnitCode.h"
#include "editors/dialogs/UnitConfig.h"
#include "editors/dialogs/UnitDelay.h"
#include "editors/dialogs/UnitEventCode.h"
#include "editors/dialogs/UnitHistory.h"
#include "editors/dialogs/UnitPhoneParam.h"
#include "editors/dialogs/UnitPhones.h"
#include "editors/dialogs/UnitPolpager.h"
#include "editors/dialogs/UnitStation.h"
#include "editors/dialogs/UnitSystemOptions.h"
#include "report/AreaSections.h"
#include "report/ConfigReport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using DialogFactory = std::function<std::unique_ptr<QDialog>()>;

template <class Dialog> DialogFactory Make()
{
    return [] { return std::make_unique<Dialog>(); };
}

// Every text the dialog names something with: its caption, labels and group titles,
// as the report prints labels.
QStringList DialogNames(const QDialog& dialog)
{
    QStringList names{PlainLabel(dialog.windowTitle().toUtf8().constData())};
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        names << PlainLabel(label->text().toUtf8().constData());
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        names << PlainLabel(box->title().toUtf8().constData());
    return names;
}

} // namespace

Q_DECLARE_METATYPE(DialogFactory)

// The report names each area and field as its dialog does: one set of texts for both.
class TstReportLabels : public QObject
{
    Q_OBJECT

private slots:
    void labelsAreTheDialogs_data();
    void labelsAreTheDialogs();
    void itemTextsAreTheDialogs();
};

void TstReportLabels::labelsAreTheDialogs_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<DialogFactory>("factory");
    QTest::newRow("phones") << "phones" << Make<TFormPhones>();
    QTest::newRow("phoneParams") << "phoneParams" << Make<TFormPhoneParam>();
    QTest::newRow("polpager") << "polpager" << Make<TFormPolpager>();
    QTest::newRow("codes") << "codes" << Make<TFormCode>();
    QTest::newRow("alarmInputs") << "alarmInputs" << Make<TFormAlarmIn>();
    QTest::newRow("pgmOutputs") << "pgmOutputs" << Make<TFormAlarmOut>();
    QTest::newRow("delays") << "delays" << Make<TFormDelay>();
    QTest::newRow("systemOptions") << "systemOptions" << Make<TFormSystemOptions>();
    QTest::newRow("stations") << "stations" << Make<TFormStation>();
    QTest::newRow("eventCodes") << "eventCodes" << Make<TFormEventCode>();
    QTest::newRow("history") << "history" << Make<TFormHistory>();
    QTest::newRow("description") << "description" << Make<TFormConfig>();
}

void TstReportLabels::labelsAreTheDialogs()
{
    QFETCH(QString, area);
    QFETCH(DialogFactory, factory);
    const ConfigReport report(ReportSample::Settings(), {});
    QList<ReportSection> sections = report.Areas();
    sections << report.Description();
    const ReportSection* section = nullptr;
    for (const ReportSection& s : sections)
        if (s.key == area)
            section = &s;
    QVERIFY(section);

    const std::unique_ptr<QDialog> dialog = factory();
    const QStringList names = DialogNames(*dialog);
    QVERIFY2(names.contains(section->caption), qPrintable(section->caption));
    for (const ReportRow& row : section->rows) {
        // The station boxes have no captions in the dialog; the report names them.
        if (row.label.isEmpty() || (row.kind == ReportRow::rkGroup && area == "stations"))
            continue;
        QVERIFY2(names.contains(row.label),
                 qPrintable(row.label + QStringLiteral(" not in ") + names.join(u'|')));
    }
}

void TstReportLabels::itemTextsAreTheDialogs()
{
    // A value chosen from a list reads as the dialog's item.
    const TZorvexSettings settings = ReportSample::Settings();
    const ConfigReport report(settings, {});
    QString format;
    QString function;
    for (const ReportSection& s : report.Areas())
        for (const ReportRow& row : s.rows) {
            if (row.key == QLatin1String("sma1Format"))
                format = row.value;
            if (row.key == QLatin1String("a1Function"))
                function = row.value;
        }
    TFormStation stations;
    QVERIFY(stations.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->findText(format) == 14);
    TFormAlarmIn inputs;
    QVERIFY(inputs.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->findText(function) == 1);
}

QTEST_MAIN(TstReportLabels)
#include "tst_reportlabels.moc"
