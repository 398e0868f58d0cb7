#include "ui/ext/list_view_data.h"

#include "ui/framework/byte_reader.h"
#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"

#include <cstring>

namespace ui {

namespace {

using D = ListViewData;
using E = D::Effect;
using L = D::Live;

constexpr Setting<D> kSettings[] = {
    {.member = &D::borderStyle, .stored = Stored::Number, .key = "border-style",
     .property = 8, .type = kTypeChoice, .clamp = ClampRange{0, 5}, .effect = E::Border},
    {.member = &D::textColor, .stored = Stored::Number, .key = "text-color",
     .property = 9, .type = kTypeColor, .live = L::TextColor, .effect = E::Colors},
    {.member = &D::textBackgroundColor, .stored = Stored::Number, .key = "text-background-color",
     .property = 10, .type = kTypeBackColor, .live = L::TextBackgroundColor, .effect = E::Colors},
    {.member = &D::backgroundColor, .stored = Stored::Number, .key = "background-color",
     .property = 11, .type = kTypeBackColor, .live = L::BackgroundColor, .effect = E::Colors},
    {.member = &D::view, .stored = Stored::Number, .key = "view",
     .property = 13, .type = kTypeChoice, .clamp = ClampRange{0, 3}, .effect = E::Recreate},
    {.member = &D::iconAlignment, .stored = Stored::Number, .key = "icon-alignment",
     .property = 14, .type = kTypeChoice, .clamp = ClampRange{0, 1}, .effect = E::Recreate},
    {.member = &D::autoArrange, .stored = Stored::Number, .key = "auto-arrange",
     .property = 15, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::wrapLabels, .stored = Stored::Number, .key = "wrap-labels",
     .property = 16, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::hideColumnHeader, .stored = Stored::Number, .key = "hide-column-header",
     .property = 18, .type = kTypeLogical, .effect = E::Styles},
    {.member = &D::headerButtons, .stored = Stored::Number, .key = "header-buttons",
     .property = 20, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::fullRowSelect, .stored = Stored::Number, .key = "full-row-select",
     .property = 21, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::gridLines, .stored = Stored::Number, .key = "grid-lines",
     .property = 22, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::headerDragDrop, .stored = Stored::Number, .key = "header-drag-drop",
     .property = 23, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::hotTracking, .stored = Stored::Number, .key = "hot-tracking",
     .property = 26, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::handCursor, .stored = Stored::Number, .key = "hand-cursor",
     .property = 27, .type = kTypeLogical, .effect = E::RecreateIfHot},
    {.member = &D::underlineHot, .stored = Stored::Number, .key = "underline-hot",
     .property = 28, .type = kTypeLogical, .effect = E::RecreateIfHot},
    {.member = &D::underlineCold, .stored = Stored::Number, .key = "underline-cold",
     .property = 29, .type = kTypeLogical, .effect = E::RecreateIfHot},
    {.member = &D::labelEditing, .stored = Stored::Number, .key = "label-editing",
     .property = 30, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::sorting, .stored = Stored::Number, .key = "sorting",
     .property = 31, .type = kTypeChoice, .clamp = ClampRange{0, 2}, .effect = E::Recreate},
    {.member = &D::checkBoxes, .stored = Stored::Number, .key = "check-boxes",
     .property = 32, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::flatScrollBars, .stored = Stored::Number, .key = "flat-scroll-bars",
     .property = 33, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::singleSelection, .stored = Stored::Number, .key = "single-selection",
     .property = 34, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::currentRow, .stored = Stored::Number, .key = "current-row",
     .property = 35, .type = kTypeInteger, .live = L::CurrentRow, .effect = E::SelectRow},
    {.member = &D::alwaysShowSelection, .stored = Stored::Number, .key = "always-show-selection",
     .property = 36, .type = kTypeLogical, .effect = E::Recreate},
    {.member = &D::font, .stored = Stored::Block, .key = "font", .describedAs = Described::Font,
     .property = 12, .type = kTypeFont, .effect = E::Font},
    {.member = &D::headerImageList, .stored = Stored::Block, .key = "header-image-list",
     .property = 19, .type = kTypeBytes1023, .effect = E::HeaderImages},
    {.member = &D::imageList, .stored = Stored::Block, .key = "image-list",
     .property = 24, .type = kTypeBytes1023, .effect = E::Images},
    {.member = &D::columns, .stored = Stored::Block,
     .property = 17, .type = kTypeBytes1024, .effect = E::ColumnsWritten},
    {.member = &D::stateImageList, .stored = Stored::Block, .key = "state-image-list",
     .property = 25, .type = kTypeBytes1023, .effect = E::StateImages},
    {.member = &D::initialRows, .stored = Stored::Block,
     .property = 37, .type = kTypeBytes1024, .effect = E::Rows},
    // The text of the label being edited, while event 7 runs.
    {.property = 38, .type = kTypeText, .live = L::EditedLabel, .readOnly = true},
};

bool addColumn(D& d, std::span<const RecordValue> v)
{
    std::optional<std::vector<ListColumn>> columns = ReadColumns(d.columns);
    if (!columns)
        return false;
    ListColumn column{.caption = v[0].text};
    column.width = v[1].integer;
    if (v.size() > 2)
        column.alignment = v[2].integer;
    if (v.size() > 3)
        column.headerImage = v[3].integer;
    columns->push_back(std::move(column));
    d.columns = WriteColumns(*columns);
    return true;
}

bool addCell(D& d, std::span<const RecordValue> v, bool startsRow)
{
    std::optional<std::vector<ListCellRecord>> cells = ReadInitialRows(d.initialRows);
    if (!cells)
        return false;
    ListCellRecord cell{.startsRow = startsRow};
    cell.text = v[0].text;
    if (v.size() > 1)
        cell.image = v[1].integer;
    if (v.size() > 2)
        cell.itemData = v[2].integer;
    cells->push_back(std::move(cell));
    d.initialRows = WriteInitialRows(*cells);
    return true;
}

// column = "caption", width [, alignment [, header image]]
// row = "text" [, image [, item data]]: a row's first cell
// cell = "text" [, image]: the next column of the row before
constexpr RecordKey<D> kRecords[] = {
    {.key = "column", .slots = "ti|ii", .add = addColumn},
    {.key = "row", .slots = "t|ii", .add = [](D& d, std::span<const RecordValue> v) { return addCell(d, v, true); }},
    {.key = "cell", .slots = "t|i", .add = [](D& d, std::span<const RecordValue> v) { return addCell(d, v, false); }},
};

// Focused row changed, row activated, column header clicked, hot row
// changed, left click, right click, label edit begins and ends, check box
// toggled.
constexpr std::int32_t kEvents[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};

void visitTexts(D& d, const TextVisitor& visit)
{
    VisitFontFace(d.font, visit);
    if (std::optional<std::vector<ListColumn>> columns = ReadColumns(d.columns)) {
        for (ListColumn& c : *columns)
            c.caption = visit(c.caption);
        d.columns = WriteColumns(*columns);
    }
    if (std::optional<std::vector<ListCellRecord>> cells = ReadInitialRows(d.initialRows)) {
        for (ListCellRecord& c : *cells) {
            c.text = visit(c.text);
            c.tip = visit(c.tip);
        }
        d.initialRows = WriteInitialRows(*cells);
    }
}

constexpr KindDescription<D> kDescription{
    .name = "ListView",
    .kind = kinds::ListView,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .records = kRecords,
    .events = kEvents,
    .visitNestedTexts = visitTexts,
};

} // namespace

const KindDescription<ListViewData>& ListViewDescription()
{
    return kDescription;
}

std::optional<ListViewData> ListViewData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> ListViewData::Write() const
{
    return WriteKindData(kDescription, *this);
}

std::optional<std::vector<ListColumn>> ReadColumns(std::span<const std::uint8_t> block)
{
    std::vector<ListColumn> columns;
    ByteReader r(block);
    while (r.ok() && !r.atEnd()) {
        ListColumn c;
        c.imageOnRight = r.u8() != 0;
        c.headerImage = r.i32();
        c.alignment = r.i32();
        c.width = r.i32();
        c.caption = r.text();
        columns.push_back(std::move(c));
    }
    if (!r.ok())
        return std::nullopt;
    return columns;
}

std::vector<std::uint8_t> WriteColumns(std::span<const ListColumn> columns)
{
    ByteWriter w;
    for (const ListColumn& c : columns) {
        w.u8(c.imageOnRight ? 1 : 0);
        w.i32(c.headerImage);
        w.i32(c.alignment);
        w.i32(c.width);
        w.text(c.caption);
    }
    return w.take();
}

std::optional<std::vector<ListCellRecord>> ReadInitialRows(std::span<const std::uint8_t> block)
{
    std::vector<ListCellRecord> cells;
    ByteReader r(block);
    while (r.ok() && !r.atEnd()) {
        ListCellRecord c;
        c.startsRow = r.u8() == 0;
        c.image = r.i32();
        c.stateImage = r.i32();
        c.indent = r.i32();
        c.itemData = r.i32();
        c.text = r.text();
        c.tip = r.text();
        cells.push_back(std::move(c));
    }
    if (!r.ok())
        return std::nullopt;
    return cells;
}

std::vector<std::uint8_t> WriteInitialRows(std::span<const ListCellRecord> cells)
{
    ByteWriter w;
    for (const ListCellRecord& c : cells) {
        w.u8(c.startsRow ? 0 : 1);
        w.i32(c.image);
        w.i32(c.stateImage);
        w.i32(c.indent);
        w.i32(c.itemData);
        w.text(c.text);
        w.text(c.tip);
    }
    return w.take();
}

} // namespace ui
