#include "shell/DialogForm.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A dialog whose show routine fills its field, as the real dialogs do from the program's data.
class CountingDialog : public TDialogForm
{
public:
    CountingDialog()
    {
        field = new QLineEdit(this);
        (new QVBoxLayout(this))->addWidget(field);
    }

    int shows = 0;
    QLineEdit *field = nullptr;

protected:
    void FormShow() override
    {
        ++shows;
        field->setText(QStringLiteral("filled"));
    }
};

} // namespace

// Dialogs created once and opened by the program: the show routine runs only when the program
// moves one from hidden to shown.
class DialogFormTest : public QObject
{
    Q_OBJECT

private slots:
    void secondOpeningOnlyRaises()
    {
        CountingDialog dialog;
        dialog.openModeless();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.shows, 1);
        dialog.field->setText(QStringLiteral("typed"));

        dialog.openModeless();
        QCOMPARE(dialog.shows, 1);
        QCOMPARE(dialog.field->text(), QStringLiteral("typed"));

        // Shown again by the desktop, not by the program: the typed text stays.
        dialog.showMinimized();
        dialog.showNormal();
        dialog.openModeless();
        QCOMPARE(dialog.shows, 1);
        QVERIFY(!dialog.isMinimized());
        QCOMPARE(dialog.field->text(), QStringLiteral("typed"));
    }

    void closedDialogShowsAfresh()
    {
        CountingDialog dialog;
        dialog.openModeless();
        dialog.field->setText(QStringLiteral("typed"));
        dialog.close();
        QVERIFY(dialog.isHidden());
        dialog.openModeless();
        QCOMPARE(dialog.shows, 2);
        QCOMPARE(dialog.field->text(), QStringLiteral("filled"));
    }

    void modalOpeningRunsTheShowRoutineOnce()
    {
        CountingDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            // The show routine has run before the dialog waits.
            QCOMPARE(dialog.shows, 1);
            dialog.accept();
        });
        QCOMPARE(dialog.openModal(), int(QDialog::Accepted));
        // Opened modal while open modeless: it stays as it stands, typed text and all.
        dialog.openModeless();
        dialog.field->setText(QStringLiteral("typed"));
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        QCOMPARE(dialog.openModal(), int(QDialog::Rejected));
        QCOMPARE(dialog.shows, 2);
        QCOMPARE(dialog.field->text(), QStringLiteral("typed"));
    }
};

QTEST_MAIN(DialogFormTest)
#include "DialogFormTest.moc"
