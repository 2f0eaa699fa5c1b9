#pragma once

#include <QColor>
#include <QDebug>
#include <QImage>
#include <QPoint>

// How far apart two colours are, summed over red, green and blue.
inline int colorDistance(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

// The pixel is nearer the first colour than the second: a gradient runs the right way, or a
// colour reached the screen. Says which pixel was not, for the test's log.
inline bool nearer(const QImage &image, QPoint at, const QColor &to, const QColor &than)
{
    const QColor pixel = image.pixelColor(at);
    if (colorDistance(pixel, to) < colorDistance(pixel, than))
        return true;
    qWarning() << "pixel" << at << pixel << "is not nearer" << to << "than" << than;
    return false;
}
