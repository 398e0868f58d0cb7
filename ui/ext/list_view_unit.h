// The ListView: rows of cells in the platform's list-view control, shown
// as large icons, small icons, a list or a report.  Rows are numbered from 0
// in display order, columns from 0 in insertion order (-1: none).  It
// raises events 0-8 from the control's notifications and the user's input,
// serves properties 8-38 from its description — those the control cannot
// change in place by having the framework make its window again — and
// carries the eight ListView commands (list_view_commands.h).
#pragma once

#include "platform/list_view.h"
#include "ui/framework/control_settings.h"
#include "ui/ext/list_view_data.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/kind_description.h"
#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// Events of the ListView.
enum ListViewEvent : std::int32_t {
    kListFocusedRowChanged = 0,
    kListRowActivated = 1,
    kListColumnClicked = 2, // column
    kListHotRowChanged = 3, // row under the pointer
    kListClicked = 4,
    kListRightClicked = 5,
    kListLabelEditBegins = 6, // row; handled false refuses
    kListLabelEditEnded = 7,  // row; handled false rejects the text (property 38 holds it)
    kListCheckToggled = 8,    // row, new state image (0 empty box, 1 ticked)
};

// A row as ListView.InsertRow gives it.
struct ListViewNewRow {
    int position = -1; // negative: after the last row
    std::string text;
    int image = -1;
    int stateSlot = 0; // 0: none
    int indent = 0;
    std::int32_t data = 0;
};

// A column as ListView.InsertColumn gives it.
struct ListViewNewColumn {
    int position = -1; // negative: after the last column
    std::string caption;
    int width = 50;
    int alignment = 0;    // 0 left, 1 centre, 2 right
    int headerImage = -1; // -1: none
    bool imageOnRight = false;
};

class ListViewUnit final : public DescribedUnit<ListViewData> {
public:
    ~ListViewUnit() override;

    // What the kind's description asks of a unit (kind_properties.h).
    static const KindDescription<ListViewData>& description() { return ListViewDescription(); }
    PropertyValue liveValue(ListViewData::Live which) const;
    bool apply(ListViewData::Effect effect);
    void completeStoredData(ListViewData& data) const;

    // The commands' work.
    std::string cellText(int row, int column) const;
    void setCellText(int row, int column, const std::string& text);
    void setCellImage(int row, int column, int image);
    int insertRow(const ListViewNewRow& row);
    void deleteAllRows();
    int columnCount() const;
    void deleteColumn(int column);
    int insertColumn(const ListViewNewColumn& column);

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    bool reportView() const { return m_settings.view == 3; }
    std::uint32_t listStyles() const;
    std::uint32_t extendedStyles() const;
    void applyColors();
    void applyStyles();
    void attachImages();
    void attachStateImages();
    void attachHeaderImages();
    void applyHotCursor();
    void insertStoredColumns();
    void loadInitialRows();
    void selectCurrentRow();
    std::vector<std::uint8_t> liveColumns() const;
    std::vector<std::uint8_t> liveRows() const;
    platform::LResult onNotify(const platform::NotifyHeader& header);
    void postCheckToggle(platform::Point at);
    void checkToggled(int row);

    OwnedImageList m_images;
    OwnedImageList m_stateImages;
    OwnedImageList m_headerImages;
    OwnedFont m_font;
    // The tip texts of the stored rows, by row number: what the control
    // shows as a row's info tip.  Rows added later have none.
    std::vector<std::string> m_storedTips;
    std::string m_editText; // property 38 while event 7 runs
    bool m_columnsWritten = false; // property 17 written: the stored columns outlive re-creation
};

extern const UnitKindDescriptor kListViewKind;

} // namespace ui
