// Where a PicBox puts its picture, by display mode.

#include "ui/units/picture_placement.h"

#include <gtest/gtest.h>

namespace {

using platform::Rect;
using ui::PicturePlacement;

TEST(PicturePlacement, ModesZeroAndOneCopyOrFill)
{
    EXPECT_EQ(PicturePlacement(0, {100, 80}, {300, 20}), Rect::fromSize(0, 0, 300, 20));
    EXPECT_EQ(PicturePlacement(1, {100, 80}, {300, 20}), Rect::fromSize(0, 0, 100, 80));
    // Outside 0-2 the nearest mode.
    EXPECT_EQ(PicturePlacement(-3, {100, 80}, {30, 20}), Rect::fromSize(0, 0, 30, 20));
    EXPECT_EQ(PicturePlacement(9, {100, 80}, {30, 20}), Rect::fromSize(35, 30, 30, 20));
}

TEST(PicturePlacement, ModeTwoCentresWhatFitsAndShrinksWhatDoesNot)
{
    // Fits: natural size, centred (odd remainders round down).
    EXPECT_EQ(PicturePlacement(2, {101, 80}, {30, 20}), Rect::fromSize(35, 30, 30, 20));
    EXPECT_EQ(PicturePlacement(2, {30, 20}, {30, 20}), Rect::fromSize(0, 0, 30, 20));
    // The about window: a 1080 square into 240 x 248 becomes 240 square,
    // four pixels down.
    EXPECT_EQ(PicturePlacement(2, {240, 248}, {1080, 1080}), Rect::fromSize(0, 4, 240, 240));
    // Taller than the client but narrower: scaled to the height and
    // centred across the whole width.
    EXPECT_EQ(PicturePlacement(2, {200, 100}, {50, 400}), Rect::fromSize(94, 0, 12, 100));
    // Wider only: scaled to the width, centred down.
    EXPECT_EQ(PicturePlacement(2, {100, 100}, {400, 50}), Rect::fromSize(0, 44, 100, 12));
    // No picture: nothing to place.
    EXPECT_TRUE(PicturePlacement(2, {100, 100}, {0, 0}).isEmpty());
}

} // namespace
