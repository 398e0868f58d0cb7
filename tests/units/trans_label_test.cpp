// The TransLabel over what lies beneath it: only its text is drawn, and a
// caption made shorter leaves no trace, also over a picture.

#include "support/unit_fixture.h"

#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "ui/ext/ext_library.h"
#include "ui/ext/trans_label_data.h"
#include "ui/framework/identifiers.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/standard_kinds.h"

#include <cstdlib>

namespace {

using namespace unittest;
using platform::ColorRef;
using platform::Hwnd;
using platform::Rgb;
namespace pt = platform::testing;

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr std::uint32_t kPictureId = kOtherUnitId;

// A 24-bit BMP file of one colour.
std::vector<std::uint8_t> solidBmp(int width, int height, ColorRef colour)
{
    int stride = (width * 3 + 3) & ~3;
    std::uint32_t size = 54 + std::uint32_t(stride * height);
    std::vector<std::uint8_t> b(size, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::size_t at = 54 + std::size_t(y * stride + x * 3);
            b[at] = std::uint8_t(colour >> 16);
            b[at + 1] = std::uint8_t(colour >> 8);
            b[at + 2] = std::uint8_t(colour);
        }
    return b;
}

class TransLabels : public UnitTest {
protected:
    TransLabels() : UnitTest({{1, {{6, &ui::kPicBoxKind}}}, {2, {{5, &ui::kTransLabelKind}}}}) {}

    // A label over a red picture (or over the window, without one).
    Hwnd openLabel(const ui::TransLabelData& label, bool overPicture)
    {
        std::vector<ui::UnitRecord> units{
            unitRecord(ui::kinds::TransLabel.value, label.Write(), platform::Rect::fromSize(20, 20, 160, 40))};
        if (overPicture) {
            ui::PicBoxData picture;
            picture.displayMode = 1;
            picture.picture = solidBmp(8, 8, kRed);
            units.push_back(unitRecord(ui::kinds::PicBox.value, picture.Write(),
                                       platform::Rect::fromSize(10, 10, 200, 80), kPictureId));
        }
        Hwnd h = open(std::move(units));
        testsupport::Pump(50);
        return h;
    }
    // Pixels of the label's area in the window (top-left of the label at
    // (20, 20)) of about the colour: text is smoothed, so its strokes are
    // only near the colour at their edges.
    int pixelsOf(ColorRef colour, platform::Rect within) const
    {
        Hwnd frame = platform::GetParent(handle());
        auto near = [](ColorRef a, ColorRef b) {
            for (int shift : {0, 8, 16})
                if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 48)
                    return false;
            return true;
        };
        int n = 0;
        for (int y = within.top; y < within.bottom; ++y)
            for (int x = within.left; x < within.right; ++x)
                n += near(pt::ClientPixel(frame, {20 + x, 20 + y}), colour);
        return n;
    }
};

TEST_F(TransLabels, AnEmptyCaptionLeavesWhatIsBeneath)
{
    ui::TransLabelData d;
    d.caption = "";
    openLabel(d, true);
    platform::Rect all = platform::Rect::fromSize(0, 0, 160, 40);
    EXPECT_EQ(pixelsOf(kRed, all), 160 * 40);
}

TEST_F(TransLabels, OnlyTheTextIsDrawnAndAShorterCaptionLeavesNoTrace)
{
    ui::TransLabelData d;
    d.caption = "WWWWWWWWWWWW";
    d.textColor = 0xFF0000; // blue
    d.relief = 3;
    openLabel(d, true);
    platform::Rect right = platform::Rect::fromSize(60, 0, 100, 40);
    EXPECT_GT(pixelsOf(kBlue, right), 20);
    EXPECT_GT(pixelsOf(Rgb(0, 0, 0), right), 20) << "the shadow";
    // What is not text is the picture.
    EXPECT_GT(pixelsOf(kRed, right), 100 * 40 / 3);

    write(8, Text("W"));
    testsupport::Pump(50);
    EXPECT_EQ(pixelsOf(kRed, right), 100 * 40);
}

TEST_F(TransLabels, OutOfRangeSettingsAreClampedAndWrapStartsAtTheTop)
{
    ui::TransLabelData d;
    d.caption = "WWW";
    d.wordWrap = true;
    d.verticalAlignment = 2;
    d.textColor = 0xFF0000;
    openLabel(d, false);
    write(9, Int(7));
    EXPECT_EQ(read(9).asInt(), 3);
    write(12, Int(-1));
    EXPECT_EQ(read(12).asInt(), 0);
    testsupport::Pump(30);
    // With word wrap the text starts at the top, whatever the vertical
    // alignment says.
    EXPECT_GT(pixelsOf(kBlue, platform::Rect::fromSize(0, 0, 60, 18)), 5);
    EXPECT_EQ(pixelsOf(kBlue, platform::Rect::fromSize(0, 24, 160, 16)), 0);
}

} // namespace
