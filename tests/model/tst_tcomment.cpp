#include "model/ERangeError.h"
#include "model/TComment.h"

#include <QtTest>

class TstTComment : public QObject
{
    Q_OBJECT

private slots:
    void setText_data();
    void setText();
    void shortOverLongKeepsTail();
    void rangeErrors_data();
    void rangeErrors();
};

void TstTComment::setText_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("stored"); // characters copied
    QTest::addColumn<int>("zeroAt"); // -1: no terminator written
    QTest::newRow("empty") << 0 << 0 << 0;
    QTest::newRow("49") << 49 << 49 << 49;
    QTest::newRow("50") << 50 << 50 << -1;
    QTest::newRow("60") << 60 << 50 << -1;
}

void TstTComment::setText()
{
    QFETCH(int, length);
    QFETCH(int, stored);
    QFETCH(int, zeroAt);
    TComment comment;
    TComment::Record old;
    old.fill('#');
    comment.SetRecord(5, old);

    std::string text;
    for (int i = 0; i < length; ++i)
        text += char('a' + i % 26);
    comment.SetText(5, text);

    TComment::Record r;
    comment.GetRecord(5, r);
    for (int i = 0; i < stored; ++i)
        QCOMPARE(char(r[i]), text[i]);
    for (int i = stored; i < TComment::RecordSize; ++i)
        QCOMPARE(r[i], std::uint8_t(i == zeroAt ? 0 : '#'));
    QCOMPARE(int(comment.GetText(5).size()), stored);
}

void TstTComment::shortOverLongKeepsTail()
{
    const std::string longText = "Dlugi tekst opisu obiektu";
    TComment comment;
    comment.SetText(2, longText);
    comment.SetText(2, "Krotki");
    QCOMPARE(comment.GetText(2), std::string("Krotki"));
    TComment::Record r;
    comment.GetRecord(2, r);
    QCOMPARE(r[6], std::uint8_t(0));
    const std::string tail(reinterpret_cast<const char*>(r.data()) + 7, longText.size() - 7);
    QCOMPARE(tail, longText.substr(7));
}

void TstTComment::rangeErrors_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("14") << 14 << "Index 14 poza prawidłowym zakresem: 0..13";
    QTest::newRow("-1") << -1 << "Index -1 poza prawidłowym zakresem: 0..13";
}

void TstTComment::rangeErrors()
{
    QFETCH(int, index);
    QFETCH(QString, message);
    TComment comment;
    TComment::Record r{};
    auto expect = [&](auto&& call) {
        try {
            call();
            QFAIL("expected ERangeError");
        } catch (const ERangeError& e) {
            QCOMPARE(QString::fromStdString(e.Message()), message);
        }
    };
    expect([&] { comment.GetRecord(index, r); });
    expect([&] { comment.SetRecord(index, r); });
    expect([&] { comment.SetText(index, "x"); });
    QVERIFY(comment == TComment());
}

QTEST_APPLESS_MAIN(TstTComment)
#include "tst_tcomment.moc"
