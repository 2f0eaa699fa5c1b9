#include "lists/RunPicture.h"

#include "app/ProgramData.h"
#include "app/TextFile.h"
#include "controls/ThemeIcon.h"

#include <QPixmap>
#include <QStyle>

namespace {

QIcon bitmapOr(const ProgramData &data, const QString &name, const char *theme, int fallback)
{
    const QPixmap picture(TextFile::resolveNoCase(data.filePath(QStringLiteral("Bmps")), name));
    return picture.isNull() ? ThemeIcon::themed(theme, fallback) : QIcon(picture);
}

} // namespace

namespace RunPicture {

QIcon check(const ProgramData &data)
{
    return bitmapOr(data, QStringLiteral("Check.Bmp"), "media-playback-start",
                    QStyle::SP_MediaPlay);
}

QIcon stop(const ProgramData &data)
{
    return bitmapOr(data, QStringLiteral("Stop.Bmp"), "media-playback-stop", QStyle::SP_MediaStop);
}

} // namespace RunPicture
