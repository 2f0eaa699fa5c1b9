#pragma once

#include "app/TextFile.h"

#include <QString>
#include <QStringList>
#include <QUrl>

// A page of tests/fixtures/pages, as an address the browser opens.
inline QString fixture(const QString &name)
{
    return QUrl::fromLocalFile(QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/fixtures/pages/") + name)
        .toString();
}

// An Options.INI that opens no page at start, so that a test's own windows are the only ones;
// bold sets the bold-text option. Blank numbers read as 0, which gives the designed rectangle.
inline void writeQuietOptions(const QString &appDir, bool bold = false)
{
    QStringList lines(27);
    lines[24] = lines[25] = lines[26] = QStringLiteral("FALSE");
    lines[23] = bold ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    TextFile::writeLines(appDir + QStringLiteral("/Options.INI"), lines);
}
