// Fonts made from logical font records: the faces catalogues written for
// another system name are drawn with a Chinese font installed here.

#include "platform/gdi.h"
#include "platform/testing/ui_driver.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

platform::Font fontOf(const char* face)
{
    platform::LogFont record;
    record.height = -12;
    record.weight = 400;
    std::memcpy(record.faceName.data(), face, std::strlen(face));
    return platform::CreateFontIndirect(record);
}

TEST(Fonts, SimSunByEitherNameDrawsChineseWithAnInstalledFont)
{
    for (const char* face : {"宋体", "SimSun", "新宋体", ""}) {
        platform::Font font = fontOf(face);
        EXPECT_TRUE(platform::testing::FontHasGlyph(font, U'中')) << face << ": " << platform::testing::FontFamilyUsed(font);
        EXPECT_TRUE(platform::testing::FontHasGlyph(font, U'A')) << face;
        platform::DeleteFont(font);
    }
    EXPECT_TRUE(platform::testing::FontHasGlyph(platform::GetStockFont(platform::DEFAULT_GUI_FONT), U'节'));
}

} // namespace
