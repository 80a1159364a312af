#include "app/core/StationLabelColours.h"

namespace Tunewell {

namespace {
constexpr ScreenColour kNavy{0, 0, 128};
constexpr ScreenColour kMaroon{128, 0, 0};
// A colour made for these small labels aims higher than the guidelines: their thin strokes are
// drawn softened, a little lighter than the colour itself.
constexpr double kMadeContrast = 5.0;

ScreenColour Preferred(ScreenColour Colour, ScreenColour Otherwise, ScreenColour Background) {
    if (ContrastRatio(Colour, Background) >= LegibleContrast)
        return Colour;
    return MadeLegible(Otherwise, Background, kMadeContrast);
}
} // namespace

StationLabelColours ChooseStationLabelColours(ScreenColour Background, ScreenColour SkinText,
                                              ScreenColour SkinAccent) {
    return {Preferred(kNavy, SkinText, Background), Preferred(kMaroon, SkinAccent, Background)};
}

} // namespace Tunewell
