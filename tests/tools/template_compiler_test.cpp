#include "platform/image_list_stream.h"
#include "platform/text_codec.h"
#include "tools/template_compiler/build_context.h"
#include "tools/template_compiler/compiler.h"
#include "tools/template_compiler/description.h"
#include "tools/template_compiler/window_builder.h"
#include "ui/units/button_data.h"
#include "ui/units/window_kind_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

std::string utf8(const char8_t* s)
{
    return reinterpret_cast<const char*>(s);
}

tc::ParseResult parse(const std::string& text)
{
    return tc::ParseDescription("test.window", text);
}

TEST(Description, SectionsEntriesAndValues)
{
    auto r = parse(utf8(u8R"(# leading comment
[window 0x52000001]   # trailing comment
program-set = 0x19000001
reserved = -1
[unit 0x16000002 Button 按钮1]
geometry = 1, 2, 3, 4
caption = "a \"b\" # not a comment\r\n"
picture = file("x.bmp")
image-list = imagelist("a.png",
                       "b.png")   # continued
on -4 = Handler
)"));
    ASSERT_FALSE(r.failure) << r.failure->text();
    const auto& s = r.description.sections;
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].header, (std::vector<std::string>{"window", "0x52000001"}));
    EXPECT_EQ(s[0].find("reserved")->value.integer, -1);
    EXPECT_EQ(s[0].find("program-set")->value.integer, 0x19000001);
    EXPECT_EQ(s[1].header[3], utf8(u8"按钮1"));
    const tc::Value& g = s[1].find("geometry")->value;
    ASSERT_EQ(g.kind, tc::Value::Kind::List);
    EXPECT_EQ(g.items.size(), 4u);
    EXPECT_EQ(s[1].find("caption")->value.text, "a \"b\" # not a comment\r\n");
    const tc::Value& list = s[1].find("image-list")->value;
    EXPECT_EQ(list.kind, tc::Value::Kind::Call);
    EXPECT_EQ(list.items.size(), 2u);
    EXPECT_EQ(s[1].find("on -4")->value.text, "Handler");
    EXPECT_EQ(s[1].find("on -4")->line, 11);
}

TEST(Description, MalformedTextIsReportedWithItsLine)
{
    struct Case {
        const char* text;
        int line;
    };
    for (Case c : {Case{"key = 1\n", 1}, {"[window 0x52000001]\ncaption = \"open\n", 2},
                   {"[window 0x52000001\n", 1}, {"[window 1]\nx = \"\\q\"\n", 2}, {"[window 1]\nx = 1 2\n", 2},
                   {"[window 1]\n\nx = f(1, 2\n", 3}, {"[]\n", 1}}) {
        auto r = parse(c.text);
        ASSERT_TRUE(r.failure) << c.text;
        EXPECT_EQ(r.failure->line, c.line) << c.text;
        EXPECT_FALSE(r.failure->message.empty());
    }
}

const std::vector<std::string> kHandlers = {"First", "Second", "Third"};

std::variant<ui::WindowTemplate, tc::Failure> build(const std::string& text)
{
    auto parsed = parse(text);
    if (parsed.failure)
        return *parsed.failure;
    tc::BuildContext ctx(kHandlers, 16, VELMORA_SOURCE_DIR "/app/assets");
    return tc::BuildWindow(parsed.description, ctx);
}

const std::string kWindowHead = "[window 0x52000001]\nprogram-set = 0x19000001\n[own 0x06000001]\ngeometry = 50, 50, 300, 200\n"
                                "caption = \"T\"\non 0 = Second\n";

TEST(WindowBuilder, RecordsInOrderWithResolvedReferences)
{
    auto r = build(kWindowHead + utf8(u8R"(
[unit 0x16000002 Button 按钮1]
geometry = 10, 20, 30, 40
flags = visible, tabstop
tab-order = 3
caption = "确定"
on 0 = Third
[menu 0x26000003]
caption = "文件"
level = 0
[menu 0x26000004]
caption = "打开"
level = 1
shortcut = Ctrl+B
flags = checked
on-click = First
)"));
    ASSERT_TRUE(std::holds_alternative<ui::WindowTemplate>(r)) << std::get<tc::Failure>(r).text();
    const auto& w = std::get<ui::WindowTemplate>(r);
    EXPECT_EQ(w.id, 0x52000001u);
    ASSERT_EQ(w.records.size(), 4u);
    EXPECT_EQ(w.records[0].bindings.at(0).handlerRef, 16u);
    EXPECT_EQ(ui::WindowKindData::Read(w.records[0].kindData)->caption, "T");
    const auto& button = w.records[1];
    EXPECT_EQ(button.kindId, 0x0001000Bu);
    EXPECT_EQ(button.name, platform::Utf8ToGbk(utf8(u8"按钮1")));
    EXPECT_EQ(button.stateFlags, ui::kUnitVisible | ui::kUnitTabStop);
    EXPECT_EQ(button.tabOrder, 3);
    EXPECT_EQ(button.bindings.at(0).handlerRef, 32u);
    EXPECT_EQ(button.cursorData, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(ui::ButtonData::Read(button.kindData)->caption, platform::Utf8ToGbk(utf8(u8"确定")));
    EXPECT_EQ(w.records[3].shortcut, 2u);
    EXPECT_EQ(w.records[3].itemFlags, ui::kMenuChecked);
    EXPECT_EQ(w.records[3].clickHandlerRef, 0u);
    EXPECT_EQ(w.records[2].clickHandlerRef, ui::kNoHandler);
}

TEST(WindowBuilder, MistakesFailTheBuildWithAClearMessage)
{
    struct Case {
        std::string text;
        const char* says;
    };
    const std::vector<Case> cases = {
        {kWindowHead + "[unit 0x16000002 Button b]\non 0 = Missing\n", "unknown handler Missing"},
        {kWindowHead + "[unit 0x16000002 Buton b]\n", "unknown kind Buton"},
        {kWindowHead + "[unit 0x16000002 Button b]\ncapton = \"x\"\n", "unknown property `capton`"},
        {kWindowHead + "[unit 0x26000002 Button b]\n", "sub-kind 1"},
        {kWindowHead + "[unit 0x16000001 Button b]\n[unit 0x16000001 Button c]\n", "used twice"},
        {kWindowHead + "[menu 0x26000002]\nlevel = 0\n", "needs a caption"},
        {kWindowHead + "[menu 0x26000002]\ncaption = \"m\"\nshortcut = Ctrl+Q2\n", "unknown shortcut"},
        {kWindowHead + "[unit 0x16000002 Button b]\nparent = 0x16000009\n", "unknown parent"},
        {kWindowHead + "[unit 0x16000002 Button b]\ncaption = \"a\"\ncaption = \"b\"\n", "given twice"},
        {kWindowHead + "[unit 0x16000002 PicBox p]\npicture = file(\"no-such-file.jpg\")\n", "cannot read asset"},
        {"[window 0x16000001]\n[own 0x06000001]\n", "category 2"},
        {"[window 0x52000001]\n[unit 0x16000002 Button b]\n", "right after"},
        {kWindowHead + "[unit 0x16000002 Button b]\ngeometry = 1, 2, 3\n", "left, top, width, height"},
        {kWindowHead + "[unit 0x16000002 EditBox e]\nmulti-line = maybe\n", "yes or no"},
        // Bindings name events the kind raises; a kind without a window
        // raises no common event.
        {kWindowHead + "[unit 0x16000002 Button b]\non 3 = First\n", "raises no event 3"},
        {kWindowHead + "[unit 0x16000002 ODBCDB d]\non -1 = First\n", "raises no event -1"},
        {kWindowHead + "[unit 0x16000002 ListView l]\ncolumn = \"x\"\n", "column takes 2 to 4 values"},
        {kWindowHead + "[unit 0x16000002 TreeBox t]\nitem = \"x\", 0, 0, 0, \"deep\"\n", "expected an integer"},
    };
    for (const Case& c : cases) {
        auto r = build(c.text);
        ASSERT_TRUE(std::holds_alternative<tc::Failure>(r)) << c.text;
        EXPECT_NE(std::get<tc::Failure>(r).message.find(c.says), std::string::npos)
            << std::get<tc::Failure>(r).text() << " (expected: " << c.says << ")";
    }
}

TEST(WindowBuilder, ImageListsArePackedFromPictures)
{
    auto r = build(kWindowHead + "[unit 0x16000002 TreeBox t]\nimage-list = imagelist(\"nodes/node_00_py.png\", "
                                 "\"nodes/node_01_csharp.png\")\nitem = \"a\", 0, 0, 7, 1\nitem = \"b\", 1, 1, 8, 2\n");
    ASSERT_TRUE(std::holds_alternative<ui::WindowTemplate>(r)) << std::get<tc::Failure>(r).text();
    // The kind data holds the block; the block reads back as two 16 x 16 images.
    const auto& data = std::get<ui::WindowTemplate>(r).records[1].kindData;
    bool found = false;
    for (std::size_t i = 0; i + 4 <= data.size() && !found; ++i)
        if (std::equal(data.begin() + std::ptrdiff_t(i), data.begin() + std::ptrdiff_t(i) + 4, "MITL")) {
            auto images = platform::ReadImageListBlock(std::span(data).subspan(i));
            if (images) {
                found = true;
                EXPECT_EQ(images->images.size(), 2u);
                EXPECT_EQ(images->cx, 16);
            }
        }
    EXPECT_TRUE(found);
}

TEST(Compiler, TheDepfileNamesTheBlockAndEachFileReadOnce)
{
    std::string dir = ::testing::TempDir();
    std::string description = dir + "/deps.window";
    {
        std::ofstream out(description);
        out << kWindowHead << "icon = file(\"window.ico\")\n"
            << "[unit 0x16000002 TreeBox t]\nimage-list = imagelist(\"nodes/node_00_py.png\", \"nodes/node_00_py.png\")\n";
    }
    tc::CompileOptions options{
        .descriptions = {description},
        .assetDirectory = VELMORA_SOURCE_DIR "/app/assets",
        .blockPath = dir + "/deps.bin",
        .sourcePath = dir + "/deps.cpp",
        .depfilePath = dir + "/deps.d",
        .handlerNames = kHandlers,
        .handlerEntrySize = 16,
    };
    ASSERT_EQ(tc::Compile(options), "");
    std::ifstream in(options.depfilePath);
    std::string target, file;
    in >> target;
    EXPECT_EQ(target, options.blockPath + ":");
    std::vector<std::string> files;
    while (in >> file)
        files.push_back(file);
    EXPECT_EQ(files, (std::vector<std::string>{description, VELMORA_SOURCE_DIR "/app/assets/window.ico",
                                               VELMORA_SOURCE_DIR "/app/assets/nodes/node_00_py.png"}));
    std::remove(description.c_str());
    for (const std::string& p : {options.blockPath, options.sourcePath, options.depfilePath})
        std::remove(p.c_str());
}

} // namespace
