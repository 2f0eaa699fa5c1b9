#pragma once

#include "controls/SchemeColor.h"

#include <QRectF>

class QPainter;
class QPalette;

// A two-colour wash from top to bottom; with a mirror the lower half runs back from the second
// colour to the first. Colours are resolved when painting, so desktop references stay current.
struct TWash
{
    TSchemeColor from;
    TSchemeColor to;
    bool mirror = false;

    void paint(QPainter &painter, const QRectF &area, const QPalette &desktop) const;
    void paint(QPainter &painter, const QRectF &area) const;

    friend bool operator==(const TWash &, const TWash &) = default;
};
