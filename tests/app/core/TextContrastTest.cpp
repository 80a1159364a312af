#include "app/core/TextContrast.h"

#include "app/core/StationLabelColours.h"

#include <gtest/gtest.h>

using namespace Tunewell;

namespace {
constexpr ScreenColour kBlack{0, 0, 0};
constexpr ScreenColour kWhite{255, 255, 255};
constexpr ScreenColour kNavy{0, 0, 128};
constexpr ScreenColour kMaroon{128, 0, 0};
// The "Auric" skin: background, text and accent.
constexpr ScreenColour kAuric{0x3a, 0x33, 0x23};
constexpr ScreenColour kAuricText{0xf6, 0xe7, 0xb8};
constexpr ScreenColour kAuricAccent{0xd4, 0xa7, 0x3a};

std::string Text(ScreenColour Colour) {
    return std::to_string(Colour.Red) + "," + std::to_string(Colour.Green) + "," +
           std::to_string(Colour.Blue);
}
} // namespace

TEST(TextContrast, MeasuresAsTheGuidelinesDo) {
    struct Case {
        ScreenColour First;
        ScreenColour Second;
        double Ratio;
    };
    const Case cases[] = {
        {kBlack, kWhite, 21.0},
        {kWhite, kBlack, 21.0},
        {kWhite, kWhite, 1.0},
        // The guidelines' own example of the lightest grey legible on white.
        {{0x76, 0x76, 0x76}, kWhite, 4.54},
        {kNavy, kAuric, 1.3},
        {kMaroon, kAuric, 1.1},
        {kAuricText, kAuric, 10.16},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(ContrastRatio(c.First, c.Second), c.Ratio, 0.05)
            << Text(c.First) << " on " << Text(c.Second);
    EXPECT_DOUBLE_EQ(RelativeLuminance(kBlack), 0.0);
    EXPECT_DOUBLE_EQ(RelativeLuminance(kWhite), 1.0);
}

TEST(TextContrast, MadeLegibleMixesNoMoreThanNeededAndTowardsTheNearerEnd) {
    struct Case {
        const char *Name;
        ScreenColour Colour;
        ScreenColour Background;
        // Which way the mix goes: 0 none, -1 darker, +1 lighter.
        int Way;
    };
    const Case cases[] = {
        {"legible already", kNavy, kWhite, 0},
        {"navy on a dark skin", kNavy, kAuric, +1},
        {"an accent a little dark", kAuricAccent, {0x5c, 0x50, 0x33}, +1},
        {"a pale accent on a light skin", {0x5f, 0xb3, 0xc9}, {0xe6, 0xf0, 0xf3}, -1},
        // White reaches only 4.48 on it: black it is, though it is the farther.
        {"grey on the middle grey", {0x80, 0x80, 0x80}, {0x77, 0x77, 0x77}, -1},
        {"the background's own colour", kAuric, kAuric, +1},
    };
    for (const auto &c : cases) {
        const ScreenColour made = MadeLegible(c.Colour, c.Background);
        EXPECT_GE(ContrastRatio(made, c.Background), LegibleContrast) << c.Name;
        const double before = RelativeLuminance(c.Colour);
        const double after = RelativeLuminance(made);
        EXPECT_EQ(after > before ? 1 : after < before ? -1 : 0, c.Way) << c.Name << ": " << Text(made);
    }
    // The least mix: the colour half way back to where it came from is not legible yet.
    const ScreenColour made = MadeLegible(kNavy, kAuric);
    const ScreenColour halfWay{(made.Red + kNavy.Red) / 2, (made.Green + kNavy.Green) / 2,
                               (made.Blue + kNavy.Blue) / 2};
    EXPECT_LT(ContrastRatio(halfWay, kAuric), LegibleContrast) << Text(made);
}

TEST(StationLabelColours, NavyAndMaroonWhereLegibleTheSkinsOwnElsewhere) {
    struct Case {
        const char *Skin;
        ScreenColour Background;
        ScreenColour Text;
        ScreenColour Accent;
        StationLabelColours Expected;
    };
    const Case cases[] = {
        {"Light", {0xf4, 0xf4, 0xf4}, {0x1a, 0x1a, 0x1a}, {0x3d, 0x8f, 0xd6}, {kNavy, kMaroon}},
        {"Auric", kAuric, kAuricText, kAuricAccent, {kAuricText, kAuricAccent}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChooseStationLabelColours(c.Background, c.Text, c.Accent), c.Expected) << c.Skin;

    // A skin whose own colours are dim on its background: each is made legible.
    const ScreenColour dark{0x20, 0x20, 0x30};
    const StationLabelColours dim = ChooseStationLabelColours(dark, {0x50, 0x50, 0x60}, {0x60, 0x30, 0x30});
    EXPECT_GE(ContrastRatio(dim.Caption, dark), LegibleContrast);
    EXPECT_GE(ContrastRatio(dim.Value, dark), LegibleContrast);
    EXPECT_NE(dim.Caption, dim.Value);
}
