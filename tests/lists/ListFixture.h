#pragma once

#include "app/TextFile.h"

#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <utility>

// A program folder's two list files: each list with its pages, in order.
inline void writeListFiles(const QString &appDir,
                           const QList<std::pair<QString, QStringList>> &lists)
{
    QStringList listLines;
    QStringList detailLines;
    for (const auto &[name, pages] : lists) {
        listLines << name + QStringLiteral("|@|about ") + name + QStringLiteral("|@||@|");
        for (const QString &page : pages)
            detailLines << name + QStringLiteral("|@|") + page;
    }
    QVERIFY(!TextFile::writeLines(appDir + QStringLiteral("/WebPageList.INI"), listLines));
    QVERIFY(!TextFile::writeLines(appDir + QStringLiteral("/WebPageListDtl.INI"), detailLines));
}

// Chooses an item the way the keyboard does: the arrow keys in the focused box.
inline void chooseItem(QComboBox *box, int row)
{
    box->activateWindow();
    box->setFocus();
    QTRY_VERIFY(QApplication::focusWidget() == box ||
                box->isAncestorOf(QApplication::focusWidget()));
    // Only a move is a choice: step off the item first when the box already shows it.
    if (box->currentIndex() == row)
        QTest::keyClick(QApplication::focusWidget(), row > 0 ? Qt::Key_Up : Qt::Key_Down);
    for (int step = 0; step < box->count() && box->currentIndex() < row; ++step)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    for (int step = 0; step < box->count() && box->currentIndex() > row; ++step)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(box->currentIndex(), row);
}
