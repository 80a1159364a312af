#pragma once

#include "app/core/TextContrast.h"

#include <QColor>

namespace Tunewell {

// Between the toolkit's colours and the contrast rule's. A colour that is not opaque is taken as
// drawn over Behind.
ScreenColour ToScreenColour(const QColor &Colour, const QColor &Behind = Qt::white);
QColor ToQColor(ScreenColour Colour);

} // namespace Tunewell
