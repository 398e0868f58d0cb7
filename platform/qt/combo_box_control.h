// The combo box control's widget: its field (a QComboBox) and, for the
// simple style, the list always shown below it.  A drop-down box is as
// tall as its field; the height its window was given sets how far its list
// drops.  Items keep their GBK text and a datum.
#pragma once

#include "platform/types.h"

#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>

class QListView;

namespace platform {
struct CreateStruct;
}

namespace platform::qt {

class ComboBoxField;
class ComboCloseUp;
class TextEntry;

class ComboBoxControl : public QWidget {
public:
    ComboBoxControl(QWidget* parent, const CreateStruct& cs);

    // Items.
    int addString(std::string_view gbk);
    int count() const;
    std::string itemText(int index) const;
    bool setItemData(int index, LParam data);
    LParam itemData(int index) const;
    void resetContent();
    int setCurrent(int index);
    int current() const;

    // Heights: -1 the field, 0 the list's items.
    bool setItemHeight(int which, int height);
    int itemHeight(int which) const;
    int fieldHeight() const;
    // The height the window was given has become `height()`: a drop-down
    // box keeps it for its list and goes back to its field's height.
    bool adoptWindowHeight();
    void relayout();

    // The edit field (null for a drop-down list) and the dropped list.
    TextEntry* entry() const;
    void showDropDown(bool show);
    bool isDropped() const;
    QRect droppedListRect() const; // screen coordinates
    void applyStyles(std::uint32_t style);

    // The window text: the field's text.
    std::string windowText() const;
    bool setWindowText(std::string_view gbk);

    Hwnd handle() const;
    bool notify(std::uint32_t code);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeField(std::uint32_t type);
    void makeList();
    bool isSimple() const;
    bool isSorted() const;
    int sortedPlace(const std::string& gbk) const;
    void userChose(int index);
    void listClicked(int row);
    bool aboutToDrop();
    void placeDroppedList();
    void askForColors(QObject* painted);
    int listHeight() const;

    std::uint32_t m_style = 0;
    ComboBoxField* m_field = nullptr;
    QListView* m_list = nullptr; // the simple style's
    ComboCloseUp* m_closeUp = nullptr;
    int m_itemHeight = 0;      // 0: from the font
    int m_fieldItemHeight = 0; // 0: from the font
    int m_windowHeight = 0;
};

} // namespace platform::qt
