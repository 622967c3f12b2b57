#include "ReportSample.h"
#include "tests/common/FactorySettings.h"

#include "report/ConfigDiff.h"
#include "report/ConfigReport.h"
#include "report/ReportJson.h"
#include "report/ReportText.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstdint>

namespace {

// Set to rewrite the golden files from what the code makes now (after a deliberate change
// of the report's layout), then review the difference in version control.
constexpr const char* kUpdateVariable = "ZVX_UPDATE_GOLDEN";

QString GoldenPath(const QString& name)
{
    return QStringLiteral(ZVX_TEST_DATA "/report/") + name;
}

// An image as a blank dialer, a damaged file or another program may hand over, and the
// description records filled with the same kind of bytes.
TZorvexSettings FromBytes(const QByteArray& image)
{
    TZorvexSettings s;
    s.Cfg.WriteBytes(0, reinterpret_cast<const std::uint8_t*>(image.constData()), TCfg::Size);
    for (int i = 0; i < TComment::Count; ++i) {
        TComment::Record record;
        for (std::size_t k = 0; k < record.size(); ++k)
            record[k] = std::uint8_t(image[int((i * 7 + k) % TCfg::Size)]);
        s.Comment.SetRecord(i, record);
    }
    return s;
}

// Bytes from a fixed linear congruential sequence: the same on every machine.
QByteArray Noise(std::uint32_t seed)
{
    QByteArray bytes(TCfg::Size, '\0');
    for (char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = char(seed >> 24);
    }
    return bytes;
}

QList<QPair<QString, TZorvexSettings>> Configurations()
{
    QByteArray counting(TCfg::Size, '\0');
    for (int i = 0; i < TCfg::Size; ++i)
        counting[i] = char(i * 37 + 11);
    return {
        {QStringLiteral("sample"), ReportSample::Settings()},
        {QStringLiteral("factory"), Factory()},
        {QStringLiteral("zeros"), FromBytes(QByteArray(TCfg::Size, '\0'))},
        {QStringLiteral("ff"), FromBytes(QByteArray(TCfg::Size, '\xFF'))},
        {QStringLiteral("counting"), FromBytes(counting)},
        {QStringLiteral("noise1"), FromBytes(Noise(1))},
        {QStringLiteral("noise2"), FromBytes(Noise(2))},
    };
}

ReportOptions Options(bool masked)
{
    ReportOptions options;
    options.fileName = QStringLiteral("/srv/obiekty/sklep.zvx");
    options.printedAt = QDateTime(QDate(2026, 3, 5), QTime(9, 15));
    options.masked = masked;
    return options;
}

QByteArray Lines(const QStringList& lines)
{
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QByteArray DiffLines(const QList<ConfigDifference>& differences)
{
    QStringList lines;
    for (const ConfigDifference& d : differences)
        lines << QStringList{d.area, d.field, d.a, d.b}.join(QStringLiteral(" | "));
    return Lines(lines);
}

} // namespace

// The report, the JSON and the differences of fixed configurations, byte for byte as
// recorded: a change in how any field reads, is named or is ordered shows up here.
class TstReportGolden : public QObject
{
    Q_OBJECT

private slots:
    void outputs_data();
    void outputs();
};

void TstReportGolden::outputs_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("made");
    const auto configurations = Configurations();
    for (const auto& [name, settings] : configurations) {
        // The printed layout and the customer's copy differ from the text only in form:
        // one configuration is enough for them.
        const bool sample = name == QLatin1String("sample");
        for (const bool masked : {false, true}) {
            if (masked && !sample)
                continue;
            const ConfigReport report(settings, Options(masked));
            const QString base = name + (masked ? QStringLiteral("-masked") : QString());
            QTest::newRow(qPrintable(base + ".txt"))
                << base + ".txt" << Lines(ReportTextLines(report));
            if (sample)
                QTest::newRow(qPrintable(base + ".print"))
                    << base + ".print" << Lines(ReportPrintLines(report));
            QTest::newRow(qPrintable(base + ".json"))
                << base + ".json" << ReportJson(report).toJson();
        }
    }
    // Every pair one way round, and the image alone for one of them.
    for (qsizetype i = 0; i < configurations.size(); ++i)
        for (qsizetype k = i + 1; k < configurations.size(); ++k) {
            const QString name = configurations[i].first + "-" + configurations[k].first;
            QTest::newRow(qPrintable(name + ".diff"))
                << name + ".diff"
                << DiffLines(ConfigDifferences(configurations[i].second, configurations[k].second));
        }
    QTest::newRow("sample-factory-image.diff")
        << "sample-factory-image.diff"
        << DiffLines(ConfigDifferences(ReportSample::Settings(), Factory(), dsImage));
}

void TstReportGolden::outputs()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, made);
    QFile golden(GoldenPath(file));
    if (qEnvironmentVariableIsSet(kUpdateVariable)) {
        QDir().mkpath(GoldenPath(QString()));
        QVERIFY(golden.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(golden.write(made), made.size());
        return;
    }
    QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(golden.fileName()));
    const QByteArray expected = golden.readAll();
    if (made != expected) {
        const QList<QByteArray> x = made.split('\n');
        const QList<QByteArray> y = expected.split('\n');
        for (qsizetype i = 0; i < std::max(x.size(), y.size()); ++i) {
            const QByteArray a = i < x.size() ? x[i] : QByteArray("<end>");
            const QByteArray b = i < y.size() ? y[i] : QByteArray("<end>");
            if (a != b)
                QFAIL(qPrintable(QStringLiteral("line %1: made \"%2\", golden \"%3\"")
                                     .arg(i + 1)
                                     .arg(QString::fromUtf8(a), QString::fromUtf8(b))));
        }
    }
    QCOMPARE(made.size(), expected.size());
}

QTEST_GUILESS_MAIN(TstReportGolden)
#include "tst_reportgolden.moc"
