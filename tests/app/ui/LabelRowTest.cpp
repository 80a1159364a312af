#include "app/ui/LabelRow.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace Tunewell {
namespace {

constexpr int kGap = 4;
constexpr int kRight = 240;

// Three labels on a panel, laid out as the main window's captions are: at 7, 146 and 198.
class LabelRowTest : public ::testing::Test {
protected:
    void Place(const QString &First, const QString &Second, const QString &Third) {
        const QString Texts[] = {First, Second, Third};
        for (int Index = 0; Index < 3; ++Index)
            Labels[Index]->setText(Texts[Index]);
        PlaceLabelRow({{Labels[0], 7}, {Labels[1], 146}, {Labels[2], 198}}, kGap, kRight);
    }
    int Left(int Index) const { return Labels[Index]->x(); }
    int End(int Index) const { return Labels[Index]->x() + Labels[Index]->width(); }
    // A text of about Pixels wide in the panel's font.
    QString Wide(int Pixels) const {
        QString Text;
        while (Panel.fontMetrics().horizontalAdvance(Text) < Pixels)
            Text += QLatin1Char('m');
        return Text;
    }

    QWidget Panel;
    QLabel *Labels[3] = {new QLabel(&Panel), new QLabel(&Panel), new QLabel(&Panel)};
};

TEST_F(LabelRowTest, ShortTextsKeepTheirPlaces) {
    Place(QStringLiteral("Style"), QStringLiteral("Location"), QStringLiteral("Quality"));
    EXPECT_EQ(Left(0), 7);
    EXPECT_EQ(Left(1), 146);
    EXPECT_EQ(Left(2), 198);
}

TEST_F(LabelRowTest, AWideTextPushesItsRightNeighbour) {
    Place(QStringLiteral("Rock"), Wide(60), QStringLiteral("128"));
    EXPECT_EQ(Left(1), 146);
    EXPECT_EQ(Left(2), End(1) + kGap);
    EXPECT_LE(End(2), kRight);
}

TEST_F(LabelRowTest, ARowPastTheRightEdgeMovesLeftKeepingTheGaps) {
    Place(QStringLiteral("Rock"), Wide(70), Wide(40));
    EXPECT_EQ(End(2), kRight);
    EXPECT_EQ(Left(2) - End(1), kGap);
    EXPECT_LT(Left(1), 146);
    EXPECT_EQ(Left(0), 7);
    EXPECT_TRUE(Labels[2]->toolTip().isEmpty());
}

TEST_F(LabelRowTest, ARowTooLongEvenPackedCutsItsLastTextAndShowsItWhole) {
    const QString Whole = Wide(120);
    Place(Wide(100), QStringLiteral("Location"), Whole);
    EXPECT_EQ(Left(0), 7);
    EXPECT_EQ(Left(1), End(0) + kGap);
    EXPECT_EQ(Left(2), End(1) + kGap);
    EXPECT_LE(End(2), kRight);
    EXPECT_TRUE(Labels[2]->text().endsWith(QChar(0x2026))) << Labels[2]->text().toStdString();
    EXPECT_EQ(Labels[2]->toolTip(), Whole);

    // The next station's short values stand whole again, without the old tool tip.
    Place(QStringLiteral("Jazz"), QStringLiteral("PT"), QStringLiteral("64k"));
    EXPECT_EQ(Labels[2]->text(), QStringLiteral("64k"));
    EXPECT_TRUE(Labels[2]->toolTip().isEmpty());
    EXPECT_EQ(Left(2), 198);
}

} // namespace
} // namespace Tunewell
