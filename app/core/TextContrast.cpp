#include "app/core/TextContrast.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Tunewell {

namespace {
double Linear(int Channel) {
    const double value = Channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

ScreenColour Mixed(ScreenColour From, ScreenColour To, double Share) {
    const auto mix = [Share](int A, int B) { return static_cast<int>(std::lround(A + (B - A) * Share)); };
    return {mix(From.Red, To.Red), mix(From.Green, To.Green), mix(From.Blue, To.Blue)};
}

// Fine enough that no step is seen; a mix all the way is black or white.
constexpr int kSteps = 64;

// The mix of Colour towards Towards in steps that first reaches Contrast, and its step.
std::optional<std::pair<int, ScreenColour>> FirstLegibleMix(ScreenColour Colour, ScreenColour Towards,
                                                            ScreenColour Background, double Contrast) {
    for (int step = 1; step <= kSteps; ++step) {
        const ScreenColour mixed = Mixed(Colour, Towards, static_cast<double>(step) / kSteps);
        if (ContrastRatio(mixed, Background) >= Contrast)
            return std::pair{step, mixed};
    }
    return std::nullopt;
}
} // namespace

double RelativeLuminance(ScreenColour Colour) {
    return 0.2126 * Linear(Colour.Red) + 0.7152 * Linear(Colour.Green) + 0.0722 * Linear(Colour.Blue);
}

double ContrastRatio(ScreenColour First, ScreenColour Second) {
    const double a = RelativeLuminance(First);
    const double b = RelativeLuminance(Second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

ScreenColour MadeLegible(ScreenColour Colour, ScreenColour Background, double Contrast) {
    if (ContrastRatio(Colour, Background) >= Contrast)
        return Colour;
    const ScreenColour black{0, 0, 0};
    const ScreenColour white{255, 255, 255};
    const auto darker = FirstLegibleMix(Colour, black, Background, Contrast);
    const auto lighter = FirstLegibleMix(Colour, white, Background, Contrast);
    if (darker && (!lighter || darker->first <= lighter->first))
        return darker->second;
    if (lighter)
        return lighter->second;
    return ContrastRatio(black, Background) >= ContrastRatio(white, Background) ? black : white;
}

} // namespace Tunewell
