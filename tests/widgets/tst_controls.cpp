#include "widgets/CopyAnimation.h"
#include "widgets/KeyFilter.h"
#include "widgets/RadioGroup.h"
#include "widgets/TimePicker.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Typical of the editors: digits pass, a-f become A-F, anything else is dropped.
void HexDigits(QChar& key)
{
    if (key >= u'a' && key <= u'f')
        key = key.toUpper();
    else if (!key.isDigit() && !(key >= u'A' && key <= u'F'))
        key = QChar();
}

// Polish text: letters become upper case, including the accented ones.
void UpperCase(QChar& key)
{
    key = key.toUpper();
}

void TypeChar(QWidget* w, QChar c)
{
    QTest::sendKeyEvent(QTest::KeyAction::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

    // A shown, active window: offscreen widgets take keys only then.
    static bool Activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

private slots:
    void radioGroupItemIndex_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << 0 << 0;
        QTest::newRow("last") << 8 << 8;
        QTest::newRow("none") << -1 << -1;
        QTest::newRow("past the end") << 9 << -1;
    }
    void radioGroupItemIndex()
    {
        QFETCH(int, set);
        QFETCH(int, expected);
        RadioGroup group(QStringLiteral("Centrala"), {"1", "2", "3", "4", "5", "6", "7", "8", "9"},
                         3);
        group.SetItemIndex(4);
        QSignalSpy changed(&group, &RadioGroup::itemIndexChanged);
        group.SetItemIndex(set);
        QCOMPARE(group.ItemIndex(), expected);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), expected);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(group.Button(i)->isChecked(), i == expected);
        group.SetItemIndex(set); // no change, no signal
        QCOMPARE(changed.size(), 1);
    }

    void radioGroupLabelAccelerator_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("focused");
        QTest::newRow("chosen button") << 2 << 2;
        QTest::newRow("none chosen: first") << -1 << 0;
    }
    void radioGroupLabelAccelerator()
    {
        QFETCH(int, chosen);
        QFETCH(int, focused);
        QWidget window;
        auto* edit = new QLineEdit(&window);
        auto* label = new QLabel(QStringLiteral("&Grupa"), &window);
        auto* group = new RadioGroup(QString(), {"NIE", "TAK", "Brak"}, 1, &window);
        label->setBuddy(group);
        group->SetItemIndex(chosen);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(label);
        layout->addWidget(group);
        QVERIFY(Activate(window));
        edit->setFocus();
        QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(group->Button(focused)));
    }

    void radioGroupUser()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit(&window);
        auto* group = new RadioGroup(QStringLiteral("Tryb"), {"NIE", "TAK"}, 1, &window);
        layout->addWidget(edit);
        layout->addWidget(group);
        QCOMPARE(group->ItemIndex(), -1);
        QVERIFY(Activate(window));
        QSignalSpy changed(group, &RadioGroup::itemIndexChanged);

        QTest::mouseClick(group->Button(1), Qt::LeftButton, {},
                          QPoint(6, group->Button(1)->height() / 2));
        QCOMPARE(group->ItemIndex(), 1);
        // Tab lands on the chosen item; arrows move the choice.
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Tab);
        QTRY_VERIFY(group->Button(1)->hasFocus());
        QTest::keyClick(group->Button(1), Qt::Key_Up);
        QCOMPARE(group->ItemIndex(), 0);
        QCOMPARE(changed.size(), 2);
    }

    void radioGroupColumnsFillTopDown()
    {
        RadioGroup group(QStringLiteral("Centrala"), {"1", "2", "3", "4", "5", "6", "7"}, 3);
        group.show();
        // Three rows: items 0-2 in the first column, 3-5 in the second, 6 in the third.
        QCOMPARE(group.Button(3)->y(), group.Button(0)->y());
        QVERIFY(group.Button(3)->x() > group.Button(2)->x());
        QVERIFY(group.Button(6)->x() > group.Button(5)->x());
        QVERIFY(group.Button(1)->y() > group.Button(0)->y());
    }

    void keyFilterLineEdit()
    {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        edit->setMaxLength(6);
        KeyFilter filter(HexDigits, &window);
        filter.Attach(edit);
        QVERIFY(Activate(window));
        edit->setFocus();

        QTest::keyClicks(edit, QStringLiteral("1a-z#9"));
        QCOMPARE(edit->text(), QStringLiteral("1A9"));
        TypeChar(edit, u'ą'); // dropped
        QCOMPARE(edit->text(), QStringLiteral("1A9"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("1A"));
        QTest::keyClicks(edit, QStringLiteral("bcdef"));
        QCOMPARE(edit->text(), QStringLiteral("1ABCDE")); // the length limit still holds

        // Pasting is not typing: the filter does not see it.
        edit->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("x-y"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("x-y"));
    }

    void keyFilterOtherEditors()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* memo = new QPlainTextEdit(&window);
        auto* spin = new QSpinBox(&window);
        spin->setRange(0, 999);
        layout->addWidget(memo);
        layout->addWidget(spin);
        KeyFilter upper(UpperCase, &window);
        upper.Attach(memo);
        KeyFilter noFives([](QChar& key) { key = key == u'5' ? QChar() : key; }, &window);
        noFives.Attach(spin);
        QVERIFY(Activate(window));

        memo->setFocus();
        QTest::keyClicks(memo, QStringLiteral("ab"));
        QTest::keyClick(memo, Qt::Key_Return);
        for (QChar c : QStringLiteral("żółć"))
            TypeChar(memo, c);
        QCOMPARE(memo->toPlainText(), QStringLiteral("AB\nŻÓŁĆ"));

        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QStringLiteral("152"));
        QCOMPARE(spin->value(), 12);
    }

    void timePicker()
    {
        TimePicker picker;
        picker.SetTime(QTime(23, 59, 30, 250));
        QCOMPARE(picker.Time(), QTime(23, 59, 30));
        QVERIFY(picker.text().contains(TimePicker::TimeSeparator() + QStringLiteral("59")));
        picker.setSelectedSection(QDateTimeEdit::HourSection);
        picker.stepBy(1);
        QCOMPARE(picker.Time(), QTime(0, 59, 30));
    }

    void copyAnimation()
    {
        CopyAnimation animation;
        QCOMPARE(animation.size(), QSize(272, 60));
        QVERIFY(!animation.isRunning());
        QCOMPARE(animation.frame(), CopyAnimation::kStopFrame);
        const QImage rest = animation.grab().toImage();

        animation.start();
        QVERIFY(animation.isRunning());
        QCOMPARE(animation.frame(), 0);
        QVERIFY(animation.grab().toImage() != rest); // the sheet is in flight
        QTRY_VERIFY(animation.frame() > 0);

        animation.stop();
        QVERIFY(!animation.isRunning());
        QCOMPARE(animation.frame(), CopyAnimation::kStopFrame);
        QCOMPARE(animation.grab().toImage(), rest);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
