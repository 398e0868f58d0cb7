// The TreeBox: a hierarchy of items in the platform's tree-view control,
// addressed by item index — the position in a depth-first pre-order walk
// over the whole tree, collapsed items counted (-1: none).  It raises
// events 0-7 from the control's notifications and the user's input, serves
// properties 8-24 from its description, and carries the eight TreeBox
// commands (tree_box_commands.h).
#pragma once

#include "platform/tree_view.h"
#include "ui/framework/control_settings.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/kind_description.h"
#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// Events of the TreeBox.
enum TreeBoxEvent : std::int32_t {
    kTreeSelectionChanged = 0, // how: 0 keyboard, 1 mouse, 2 program
    kTreeDoubleClicked = 1,
    kTreeLabelEditBegins = 2,  // item; handled false refuses
    kTreeLabelEditEnded = 3,   // item; handled false rejects the text (property 21 holds it)
    kTreeItemExpanding = 4,    // item; handled false refuses
    kTreeItemCollapsing = 5,   // item; handled false refuses
    kTreeItemRightPressed = 6, // the item is current already
    kTreeCheckToggled = 7,     // item, new state image (0 empty box, 1 ticked)
};

// One item as TreeBox.AddItem gives it.
struct TreeBoxNewItem {
    int parent = -1; // an index; negative or no item: the top level
    std::string text;
    int image = 0;
    int selectedImage = 0;
    std::int32_t data = 0;
    bool bold = false;
    int stateSlot = 0; // 0: none
};

class TreeBoxUnit final : public DescribedUnit<TreeBoxData> {
public:
    ~TreeBoxUnit() override;

    // What the kind's description asks of a unit (kind_properties.h).
    static const KindDescription<TreeBoxData>& description() { return TreeBoxDescription(); }
    PropertyValue liveValue(TreeBoxData::Live which) const;
    bool apply(TreeBoxData::Effect effect);
    void completeStoredData(TreeBoxData& data) const;

    // Items by index.
    platform::TreeItem itemAt(int index) const;
    int indexOf(platform::TreeItem item) const;
    int itemCount() const;
    std::string itemText(int index) const;
    std::int32_t itemData(int index) const;
    int parentOf(int index) const;
    bool hasChildren(int index) const;
    void expand(int index);
    // The new item's index, -1 when it could not be added.
    int addItem(const TreeBoxNewItem& item);
    void clear();

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);
    std::vector<platform::TreeItem> loadInitialItems();
    void attachImageList();
    void applyPendingStateImages();
    void buildStateImages();
    void applyColors();
    void applyStyles();
    void selectCurrentItem();
    std::uint32_t treeStyles() const;
    std::vector<std::uint8_t> serializeItems() const;
    platform::LResult onNotify(const platform::NotifyHeader& header);
    bool raiseItemEvent(std::int32_t event, platform::TreeItem item);
    void onRightButtonDown(platform::Point at);
    void checkToggled(platform::TreeItem item);

    OwnedImageList m_images;
    OwnedImageList m_stateImages;
    OwnedFont m_font;
    // Items loaded from the stored block and the state slot each is given
    // once the control has settled (the one-shot timer).
    struct PendingState {
        platform::TreeItem item;
        std::uint32_t slot;
    };
    std::vector<PendingState> m_pendingStates;
    std::string m_editText; // property 21 while event 3 runs
    bool m_itemsWritten = false; // property 20 written: the stored items outlive re-creation
};

extern const UnitKindDescriptor kTreeBoxKind;

} // namespace ui
