#pragma once

namespace Tunewell {

// A colour as the screen shows it: red, green and blue from 0 to 255 (sRGB).
struct ScreenColour {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    bool operator==(const ScreenColour &) const = default;
};

// The contrast a text of the windows' size needs against what is behind it to be read with ease
// (the web's accessibility guidelines, level AA).
inline constexpr double LegibleContrast = 4.5;

// How bright the colour looks, from 0 (black) to 1 (white), as those guidelines measure it.
double RelativeLuminance(ScreenColour Colour);
// From 1 (the same brightness) to 21 (black on white); the order of the two does not matter.
double ContrastRatio(ScreenColour First, ScreenColour Second);
// Colour itself where it reaches Contrast against Background; otherwise the least mix of it with
// black or with white (whichever needs less) that does, so it keeps as much of its hue as
// legibility allows. Black or white reach 4.58 on any background; a higher Contrast may not be
// reached, and then the end that comes closest is taken.
ScreenColour MadeLegible(ScreenColour Colour, ScreenColour Background, double Contrast = LegibleContrast);

} // namespace Tunewell
