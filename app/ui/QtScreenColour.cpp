#include "app/ui/QtScreenColour.h"

#include <cmath>

namespace Tunewell {

ScreenColour ToScreenColour(const QColor &Colour, const QColor &Behind) {
    const QColor rgb = Colour.toRgb();
    const double alpha = rgb.alphaF();
    const auto over = [alpha](int Front, int Back) {
        return static_cast<int>(std::lround(Front * alpha + Back * (1 - alpha)));
    };
    const QColor back = Behind.toRgb();
    return {over(rgb.red(), back.red()), over(rgb.green(), back.green()), over(rgb.blue(), back.blue())};
}

QColor ToQColor(ScreenColour Colour) {
    return QColor(Colour.Red, Colour.Green, Colour.Blue);
}

} // namespace Tunewell
