#include "ProgramUnderTest.h"
#include "buttons/ButtonBar.h"
#include "controls/GlowButton.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

// The button bar where the user meets it: in the main window at its designed size.
class ButtonBarWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void allButtonsReachableAtTheDefaultSize()
    {
        QTemporaryDir appDir;
        // Options that open no page: only the window's own parts are under test.
        QStringList options(27);
        for (int line = 4; line < 12; ++line)
            options[line] = QStringLiteral("0");
        for (int line = 23; line < 27; ++line)
            options[line] = QStringLiteral("FALSE");
        QFile file(appDir.filePath(QStringLiteral("Options.INI")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(options.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
        file.close();

        Globals = TGlobals();
        ProgramUnderTest program(appDir.path());
        TQuillmere1 &window = program.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(987, 780);
        TButtonBar *bar = window.buttonBar();
        QTest::mouseClick(bar->toggleButton(), Qt::LeftButton);
        QTRY_VERIFY(bar->isVisible());
        const QString shots = qEnvironmentVariable("QUILLMERE_SHOTS");
        if (!shots.isEmpty())
            window.grab().save(shots + QStringLiteral("/button-bar-default-size.png"));

        // No overflow arrow: every button shows, whole, inside the window.
        const auto *arrow =
            bar->toolBar()->findChild<QWidget *>(QStringLiteral("qt_toolbar_ext_button"));
        QVERIFY(!arrow || !arrow->isVisible());
        const QRect inside = window.rect();
        for (TGlowButton *button : bar->buttons()) {
            QVERIFY2(button->isVisible(), qPrintable(button->objectName()));
            const QRect shown(button->mapTo(&window, QPoint(0, 0)), button->size());
            QVERIFY2(inside.contains(shown), qPrintable(button->objectName()));
        }
    }
};

QTEST_MAIN(ButtonBarWindowTest)
#include "ButtonBarWindowTest.moc"
