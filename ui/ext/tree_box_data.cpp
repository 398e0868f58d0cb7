#include "ui/ext/tree_box_data.h"

#include "ui/framework/kind_codec.h"
#include "ui/framework/unit_kind.h"

namespace ui {
namespace {

constexpr std::uint32_t kItemBold = 0x1;
constexpr std::uint32_t kItemExpanded = 0x2;
constexpr int kStateSlotShift = 28;

using D = TreeBoxData;
using E = D::Effect;
using L = D::Live;

constexpr bool extended(const D& d)
{
    return d.extension && d.version == 0;
}

constexpr bool checkBoxesOn(const D& d)
{
    return d.checkBoxes;
}

constexpr Setting<D> kSettings[] = {
    {.member = &D::borderStyle, .stored = Stored::Number, .key = "border-style",
     .property = 8, .type = kTypeChoice, .clamp = ClampRange{0, 5}, .effect = E::Border},
    {.member = &D::textColor, .stored = Stored::Number, .key = "text-color",
     .property = 9, .type = kTypeColor, .live = L::TextColor, .effect = E::Colors},
    {.member = &D::backgroundColor, .stored = Stored::Number, .key = "background-color",
     .property = 10, .type = kTypeBackColor, .live = L::BackgroundColor, .effect = E::Colors},
    {.member = &D::expandButtons, .stored = Stored::Number, .key = "expand-buttons",
     .property = 11, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::lines, .stored = Stored::Number, .key = "lines",
     .property = 12, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::linesAtRoot, .stored = Stored::Number, .key = "lines-at-root",
     .property = 13, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::labelEditing, .stored = Stored::Number, .key = "label-editing",
     .property = 14, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::alwaysShowSelection, .stored = Stored::Number, .key = "always-show-selection",
     .property = 15, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::currentItem, .stored = Stored::Number, .key = "current-item",
     .property = 16, .type = kTypeInteger, .live = L::CurrentItem, .effect = E::Select},
    {.member = &D::itemHeight, .stored = Stored::Number, .key = "item-height",
     .property = 17, .type = kTypeInteger, .live = L::ItemHeight, .effect = E::ItemHeight},
    {.member = &D::font, .stored = Stored::Block, .key = "font", .describedAs = Described::Font,
     .property = 18, .type = kTypeFont, .effect = E::Font},
    {.member = &D::imageList, .stored = Stored::Block, .key = "image-list",
     .property = 19, .type = kTypeBytes1023, .effect = E::ImageList},
    {.member = &D::initialItems, .stored = Stored::Block,
     .property = 20, .type = kTypeBytes1024, .live = L::Items, .effect = E::ItemsWritten},
    {.member = &D::extension, .stored = Stored::Number, .key = "extension"},
    {.member = &D::checkBoxes, .stored = Stored::Number, .storedWhen = extended, .key = "check-boxes",
     .property = 22, .type = kTypeLogical, .effect = E::CheckBoxes},
    {.member = &D::stateImageCount, .stored = Stored::Number, .storedWhen = extended, .key = "state-image-count",
     .property = 24, .type = kTypeInteger, .effect = E::StateImages, .available = checkBoxesOn},
    {.member = &D::stateImageList, .stored = Stored::Block, .storedWhen = extended, .key = "state-image-list",
     .property = 23, .type = kTypeBytes1023, .effect = E::StateImages, .available = checkBoxesOn},
    // The text of the label being edited, while event 3 runs.
    {.property = 21, .type = kTypeText, .live = L::EditedLabel, .readOnly = true},
};

bool addItem(D& d, std::span<const RecordValue> v)
{
    std::optional<std::vector<TreeItemRecord>> items = ReadInitialItems(d.initialItems);
    if (!items)
        return false;
    items->push_back({.text = v[0].text,
                      .image = v[1].integer,
                      .selectedImage = v[2].integer,
                      .data = v[3].integer,
                      .depth = v[4].integer});
    d.initialItems = WriteInitialItems(*items);
    return true;
}

// item = "text", image, selected image, data, depth
constexpr RecordKey<D> kRecords[] = {
    {.key = "item", .slots = "tiiii", .add = addItem},
};

// Selection changed, double click, label edit begins and ends, an item
// expands and collapses, right button on an item, check box toggled.
constexpr std::int32_t kEvents[] = {0, 1, 2, 3, 4, 5, 6, 7};

void visitItemTexts(D& d, const TextVisitor& visit)
{
    VisitFontFace(d.font, visit);
    if (std::optional<std::vector<TreeItemRecord>> items = ReadInitialItems(d.initialItems)) {
        for (TreeItemRecord& item : *items)
            item.text = visit(item.text);
        d.initialItems = WriteInitialItems(*items);
    }
}

constexpr KindDescription<D> kDescription{
    .name = "TreeBox",
    .kind = kinds::TreeBox,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .records = kRecords,
    .events = kEvents,
    .visitNestedTexts = visitItemTexts,
    // Version 1 ends before the extension, whatever its flag says.
    .afterRead = [](D& d) { d.extension = extended(d); },
};

} // namespace

const KindDescription<TreeBoxData>& TreeBoxDescription()
{
    return kDescription;
}

std::optional<TreeBoxData> TreeBoxData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> TreeBoxData::Write() const
{
    return WriteKindData(kDescription, *this);
}

std::optional<std::vector<TreeItemRecord>> ReadInitialItems(std::span<const std::uint8_t> block)
{
    std::vector<TreeItemRecord> items;
    ByteReader r(block);
    while (r.ok() && !r.atEnd()) {
        TreeItemRecord item;
        item.text = r.text();
        item.image = r.i32();
        item.selectedImage = r.i32();
        item.data = r.i32();
        std::uint32_t flags = r.u32();
        item.bold = flags & kItemBold;
        item.expanded = flags & kItemExpanded;
        item.stateSlot = flags >> kStateSlotShift;
        item.depth = r.i32();
        items.push_back(std::move(item));
    }
    if (!r.ok())
        return std::nullopt;
    return items;
}

std::vector<std::uint8_t> WriteInitialItems(std::span<const TreeItemRecord> items)
{
    ByteWriter w;
    for (const TreeItemRecord& item : items) {
        w.text(item.text);
        w.i32(item.image);
        w.i32(item.selectedImage);
        w.i32(item.data);
        w.u32((item.bold ? kItemBold : 0u) | (item.expanded ? kItemExpanded : 0u) |
              (item.stateSlot & 0xF) << kStateSlotShift);
        w.i32(item.depth);
    }
    return w.take();
}

} // namespace ui
