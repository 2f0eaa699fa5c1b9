#include "controls/SchemeColor.h"

#include <QGuiApplication>
#include <QTest>

Q_DECLARE_METATYPE(QPalette::ColorRole)
Q_DECLARE_METATYPE(QPalette::ColorGroup)

namespace {
// A palette where every role and group has a colour of its own, so a wrong lookup shows.
QPalette numberedPalette()
{
    QPalette palette;
    int n = 1;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role, ++n)
            palette.setColor(group, QPalette::ColorRole(role), QColor(n, 255 - n, n * 2 % 256));
    }
    return palette;
}
} // namespace

class SchemeColorTest : public QObject
{
    Q_OBJECT
private slots:
    void rgbHasRedInTheLowByte_data();
    void rgbHasRedInTheLowByte();
    void systemReferenceResolvesToPalette_data();
    void systemReferenceResolvesToPalette();
    void unknownIndexIsBlack();
    void followsTheDesktopPalette();
};

void SchemeColorTest::rgbHasRedInTheLowByte_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("black") << 0 << QColor(0, 0, 0);
    QTest::newRow("red") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("navy") << 8388608 << QColor(0, 0, 128);
    QTest::newRow("olive") << 32896 << QColor(128, 128, 0);
    QTest::newRow("silver") << 12632256 << QColor(192, 192, 192);
    QTest::newRow("white") << 16777215 << QColor(255, 255, 255);
}

void SchemeColorTest::rgbHasRedInTheLowByte()
{
    QFETCH(qint32, value);
    QFETCH(QColor, color);
    const TSchemeColor scheme(value);
    QVERIFY(!scheme.isSystem());
    QCOMPARE(scheme.resolve(numberedPalette()), color);
    QCOMPARE(TSchemeColor::fromColor(color).value(), value);
}

void SchemeColorTest::systemReferenceResolvesToPalette_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QPalette::ColorGroup>("group");
    QTest::addColumn<QPalette::ColorRole>("role");
    // The file form of the references the default scheme uses, and a few others.
    QTest::newRow("5 window background") << -16777211 << QPalette::Active << QPalette::Base;
    QTest::newRow("8 window text") << -16777208 << QPalette::Active << QPalette::Text;
    QTest::newRow("22 3-D light") << -16777194 << QPalette::Active << QPalette::Midlight;
    QTest::newRow("15 button face") << -16777201 << QPalette::Active << QPalette::Button;
    QTest::newRow("13 highlight") << -16777203 << QPalette::Active << QPalette::Highlight;
    QTest::newRow("17 grey text") << -16777199 << QPalette::Disabled << QPalette::Text;
    QTest::newRow("24 info background") << -16777192 << QPalette::Active << QPalette::ToolTipBase;
}

void SchemeColorTest::systemReferenceResolvesToPalette()
{
    QFETCH(qint32, value);
    QFETCH(QPalette::ColorGroup, group);
    QFETCH(QPalette::ColorRole, role);
    const TSchemeColor scheme(value);
    QVERIFY(scheme.isSystem());
    const QPalette palette = numberedPalette();
    QCOMPARE(scheme.resolve(palette), palette.color(group, role));
    QCOMPARE(TSchemeColor::system(TSchemeColor::SystemIndex(scheme.systemIndex())).value(), value);
}

void SchemeColorTest::unknownIndexIsBlack()
{
    for (int index : {25, 31, 200}) {
        const TSchemeColor scheme(static_cast<qint32>(0xFF000000u | unsigned(index)));
        QCOMPARE(scheme.resolve(numberedPalette()), QColor(Qt::black));
    }
}

void SchemeColorTest::followsTheDesktopPalette()
{
    const TSchemeColor window(-16777211);
    QPalette desktop = QGuiApplication::palette();
    desktop.setColor(QPalette::Base, QColor(10, 20, 30));
    QGuiApplication::setPalette(desktop);
    QCOMPARE(window.resolve(), QColor(10, 20, 30));
    desktop.setColor(QPalette::Base, QColor(40, 50, 60));
    QGuiApplication::setPalette(desktop);
    QCOMPARE(window.resolve(), QColor(40, 50, 60));
}

QTEST_MAIN(SchemeColorTest)
#include "SchemeColorTest.moc"
