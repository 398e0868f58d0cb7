// The stored kind data of the window unit and the standard units, read from
// blocks built field by field in their stored order.
#include "kind_data_checks.h"

#include "ui/framework/logfont_record.h"
#include "ui/units/button_data.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/window_kind_data.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using kindtest::Bytes;
using kindtest::ExpectMalformedRejected;
using kindtest::ReadBack;
using ui::ByteWriter;

TEST(LogFontRecord, FieldsInStoredOrder)
{
    ByteWriter w;
    for (std::int32_t v : {-14, 7, 900, 450, 700})
        w.i32(v);
    for (std::uint8_t b : {1, 2, 3, 134, 5, 6, 7, 8})
        w.u8(b);
    w.bytes(kindtest::Filler(32, {'A', 'r', 'i', 'a', 'l', 0}));
    Bytes record = w.take();

    auto f = ui::ReadLogFont(record);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->height, -14);
    EXPECT_EQ(f->width, 7);
    EXPECT_EQ(f->escapement, 900);
    EXPECT_EQ(f->orientation, 450);
    EXPECT_EQ(f->weight, 700);
    EXPECT_EQ(f->italic, 1);
    EXPECT_EQ(f->underline, 2);
    EXPECT_EQ(f->strikeOut, 3);
    EXPECT_EQ(f->charSet, 134);
    EXPECT_EQ(f->outPrecision, 5);
    EXPECT_EQ(f->clipPrecision, 6);
    EXPECT_EQ(f->quality, 7);
    EXPECT_EQ(f->pitchAndFamily, 8);
    EXPECT_STREQ(f->faceName.data(), "Arial");
    // The bytes after the face name's terminator come back too.
    auto again = ui::WriteLogFont(*f);
    EXPECT_EQ(Bytes(again.begin(), again.end()), record);

    EXPECT_FALSE(ui::ReadLogFont(std::span(record).first(59)));
    record.push_back(0);
    EXPECT_FALSE(ui::ReadLogFont(record));
    EXPECT_FALSE(ui::ReadLogFont({}));
}

// A window block with every field away from its default; the fields a
// version lacks are left out.
Bytes WindowBlock(std::uint32_t version)
{
    ByteWriter w;
    w.u32(version);
    for (std::uint32_t v : {4u, 3u, 0x123456u, 1u, 0u, 0u, 3u, 0u, 2u, 1u, 0u, 1u, 77u})
        w.u32(v);
    if (version >= 2)
        w.u32(0); // keep ownerless
    if (version >= 3) {
        w.u32(0);  // logical setting 27
        w.i32(29); // shape
    }
    if (version >= 4)
        w.u32(1);
    if (version >= 5)
        w.u32(1);
    if (version >= 6)
        w.countedText("MyClass");
    w.counted(Bytes{1, 2, 3});
    w.counted(Bytes{0, 0, 1, 0, 1, 0});
    w.counted(Bytes{'R', 'I', 'F', 'F'});
    w.countedText("节点管理");
    w.countedText("文本");
    return w.take();
}

TEST(WindowKindData, FieldsInStoredOrder)
{
    auto d = ReadBack<ui::WindowKindData>(WindowBlock(6));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->version, 6u);
    EXPECT_EQ(d->borderStyle, 4);
    EXPECT_EQ(d->backgroundPlacement, 3);
    EXPECT_EQ(d->backgroundColor, 0x123456u);
    EXPECT_TRUE(d->maximizeButton);
    EXPECT_FALSE(d->minimizeButton);
    EXPECT_FALSE(d->controlBox);
    EXPECT_EQ(d->startPosition, 3);
    EXPECT_FALSE(d->movable);
    EXPECT_EQ(d->soundPlayMode, 2);
    EXPECT_TRUE(d->logicalSetting21);
    EXPECT_FALSE(d->logicalSetting22);
    EXPECT_TRUE(d->logicalSetting23);
    EXPECT_EQ(d->integerSetting25, 77);
    EXPECT_FALSE(d->keepOwnerless);
    EXPECT_FALSE(d->logicalSetting27);
    EXPECT_EQ(d->windowShape, 29);
    EXPECT_TRUE(d->alwaysOnTop);
    EXPECT_TRUE(d->logicalSetting30);
    EXPECT_EQ(d->className, "MyClass");
    EXPECT_EQ(d->backgroundPicture, (Bytes{1, 2, 3}));
    EXPECT_EQ(d->icon, (Bytes{0, 0, 1, 0, 1, 0}));
    EXPECT_EQ(d->backgroundSound, (Bytes{'R', 'I', 'F', 'F'}));
    EXPECT_EQ(d->caption, "节点管理");
    EXPECT_EQ(d->textSetting24, "文本");
}

TEST(WindowKindData, OlderVersionsKeepDefaultsForLaterFields)
{
    const ui::WindowKindData defaults;
    for (std::uint32_t version = 0; version < 6; ++version) {
        SCOPED_TRACE(version);
        auto d = ReadBack<ui::WindowKindData>(WindowBlock(version));
        ASSERT_TRUE(d);
        EXPECT_EQ(d->integerSetting25, 77);
        EXPECT_EQ(d->keepOwnerless, version >= 2 ? false : defaults.keepOwnerless);
        EXPECT_EQ(d->windowShape, version >= 3 ? 29 : defaults.windowShape);
        EXPECT_EQ(d->alwaysOnTop, version >= 4);
        EXPECT_EQ(d->logicalSetting30, version >= 5);
        EXPECT_EQ(d->className, "");
        // The fields after the gated ones are found in their place.
        EXPECT_EQ(d->icon, (Bytes{0, 0, 1, 0, 1, 0}));
        EXPECT_EQ(d->caption, "节点管理");
    }
}

TEST(WindowKindData, DefaultsAndMalformedBlocks)
{
    auto d = ui::WindowKindData::Read({});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Write(), ui::WindowKindData{}.Write());
    EXPECT_EQ(d->version, 6u);
    ExpectMalformedRejected<ui::WindowKindData>(WindowBlock(6));
    ExpectMalformedRejected<ui::WindowKindData>(WindowBlock(1));

    // A length running past the end, even one that looks negative.
    Bytes lying = WindowBlock(6);
    lying.resize(lying.size() - 8); // the text setting: a length and "文本"
    ByteWriter w;
    w.u32(0xFFFFFFF0);
    w.bytes(Bytes{1, 2, 3, 4});
    lying.insert(lying.end(), w.data().begin(), w.data().end());
    EXPECT_FALSE(ui::WindowKindData::Read(lying));
}

TEST(EditBoxData, FieldsInStoredOrder)
{
    ByteWriter w;
    w.u32(2);
    for (std::int32_t v : {3, 0x0060C0, 0x00ECEC, 0, 20, 1, 3, 2, 2})
        w.i32(v);
    w.u16('#');
    for (std::int32_t v : {2, 1, -5, 5, 4, 6})
        w.i32(v);
    w.countedText("内容");
    w.counted(kindtest::Filler(60));
    w.counted(Bytes{9, 9});

    auto d = ReadBack<ui::EditBoxData>(w.take());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->borderStyle, 3);
    EXPECT_EQ(d->textColor, 0x0060C0u);
    EXPECT_EQ(d->backgroundColor, 0x00ECECu);
    EXPECT_FALSE(d->hideSelection);
    EXPECT_EQ(d->maxLength, 20);
    EXPECT_TRUE(d->multiLine);
    EXPECT_EQ(d->scrollBars, 3);
    EXPECT_EQ(d->alignment, 2);
    EXPECT_EQ(d->inputMode, 2);
    EXPECT_EQ(d->passwordChar, '#');
    EXPECT_EQ(d->caseConversion, 2);
    EXPECT_EQ(d->spinKind, 1);
    EXPECT_EQ(d->spinMin, -5);
    EXPECT_EQ(d->spinMax, 5);
    EXPECT_EQ(d->selectionStart, 4);
    EXPECT_EQ(d->selectionLength, 6);
    EXPECT_EQ(d->text, "内容");
    EXPECT_EQ(d->font.size(), 60u);
    EXPECT_EQ(d->furtherSettings, (Bytes{9, 9}));

    ExpectMalformedRejected<ui::EditBoxData>(d->Write());
    auto empty = ui::EditBoxData::Read({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Write(), ui::EditBoxData{}.Write());
    EXPECT_EQ(empty->passwordChar, '*');
    EXPECT_EQ(empty->spinMax, 100);
}

TEST(ButtonData, FieldsInStoredOrder)
{
    ByteWriter w;
    for (std::int32_t v : {1, 1, 2, 0})
        w.i32(v);
    w.counted(Bytes{'B', 'M', 1, 2, 3, 4, 5, 6});
    w.counted(Bytes{});
    w.countedText("保存&更新");

    auto d = ReadBack<ui::ButtonData>(w.take());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->type, 1);
    EXPECT_EQ(d->horizontalAlignment, 2);
    EXPECT_EQ(d->verticalAlignment, 0);
    EXPECT_EQ(d->picture.size(), 8u);
    EXPECT_TRUE(d->font.empty());
    EXPECT_EQ(d->caption, "保存&更新");

    ExpectMalformedRejected<ui::ButtonData>(d->Write());
    auto empty = ui::ButtonData::Read({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Write(), ui::ButtonData{}.Write());
}

Bytes ComboBlock(std::uint32_t version, const Bytes& texts, const Bytes& data)
{
    ByteWriter w;
    w.u32(version);
    for (std::int32_t v : {2, 30, 1, 2, 1, 4, 0x000002, 0x0060C0, 0x00FFFFFF})
        w.i32(v);
    w.counted(Bytes{});
    w.counted(texts);
    w.counted(data);
    w.countedText("其他");
    if (version >= 2)
        w.counted(Bytes{7});
    return w.take();
}

TEST(ComboBoxData, FieldsInStoredOrder)
{
    ByteWriter texts;
    for (const char* t : {"PY", "", "网络"})
        texts.text(t);
    ByteWriter data;
    data.i32(5);
    data.i32(-1);

    auto d = ReadBack<ui::ComboBoxData>(ComboBlock(3, texts.data(), data.data()));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->style, 2);
    EXPECT_EQ(d->maxEditLength, 30);
    EXPECT_EQ(d->editSelectionStart, 1);
    EXPECT_EQ(d->editSelectionLength, 2);
    EXPECT_TRUE(d->sorted);
    EXPECT_EQ(d->extraItemHeight, 4);
    EXPECT_EQ(d->textColor, 2u);
    EXPECT_EQ(d->backgroundColor, 0x0060C0u);
    EXPECT_EQ(d->initialSelection, 0x00FFFFFF);
    EXPECT_EQ(d->itemTexts, (std::vector<std::string>{"PY", "", "网络"}));
    EXPECT_EQ(d->itemData, (std::vector<std::int32_t>{5, -1}));
    EXPECT_EQ(d->text, "其他");
    EXPECT_EQ(d->furtherSettings, (Bytes{7}));

    auto v1 = ReadBack<ui::ComboBoxData>(ComboBlock(1, texts.data(), {}));
    ASSERT_TRUE(v1);
    EXPECT_TRUE(v1->furtherSettings.empty());
    EXPECT_EQ(v1->text, "其他");
    EXPECT_TRUE(v1->itemData.empty());

    ExpectMalformedRejected<ui::ComboBoxData>(d->Write());
    ExpectMalformedRejected<ui::ComboBoxData>(v1->Write());
    auto empty = ui::ComboBoxData::Read({});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->itemTexts.empty());
    EXPECT_EQ(empty->initialSelection, -1);
}

TEST(ComboBoxData, RejectsBadItemBlocks)
{
    // The last item text has no terminator.
    EXPECT_FALSE(ui::ComboBoxData::Read(ComboBlock(3, {'P', 'Y', 0, 'J', 'S'}, {})));
    // Item data that is not whole 32-bit values.
    EXPECT_FALSE(ui::ComboBoxData::Read(ComboBlock(3, {}, {1, 0, 0, 0, 2, 0})));
}

TEST(PicBoxData, FieldsInStoredOrder)
{
    ByteWriter w;
    for (std::uint32_t v : {2u, 5u, 0x00808080u, 1u, 0u})
        w.u32(v);
    w.counted(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'});

    auto d = ReadBack<ui::PicBoxData>(w.take());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->borderStyle, 5);
    EXPECT_EQ(d->backgroundColor, 0x00808080u);
    EXPECT_EQ(d->displayMode, 1);
    EXPECT_EQ(d->animation, 0);
    EXPECT_EQ(d->picture.size(), 8u);

    ExpectMalformedRejected<ui::PicBoxData>(d->Write());
    auto empty = ui::PicBoxData::Read({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Write(), ui::PicBoxData{}.Write());
}

} // namespace
