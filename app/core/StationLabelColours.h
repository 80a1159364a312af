#pragma once

#include "app/core/TextContrast.h"

namespace Tunewell {

// The colours of the main window's labels under the player: its captions ("Radio", "Style", ...)
// and the values of the station shown.
struct StationLabelColours {
    ScreenColour Caption;
    ScreenColour Value;
    bool operator==(const StationLabelColours &) const = default;
};

// Navy captions and maroon values, as the window has always had them, wherever they are legible
// on the skin's background; elsewhere the skin's own text colour for the captions and its
// accent for the values, each made legible there.
StationLabelColours ChooseStationLabelColours(ScreenColour Background, ScreenColour SkinText,
                                              ScreenColour SkinAccent);

} // namespace Tunewell
