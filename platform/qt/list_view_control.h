// The widget of a "SysListView32" window.  It owns the rows (a model), the
// row states, the settings, and one view over the model chosen by the
// style's view type; changing the type replaces the view and keeps the
// rows, the selection and the focus.  Its client coordinates are the
// widget's own, border and column header included.
#pragma once

#include "platform/qt/list_view_layout.h"
#include "platform/qt/list_view_model.h"
#include "platform/qt/list_view_states.h"

#include <QFrame>

class QAbstractItemView;

namespace platform::qt {

class ListViewDelegate;
class ListViewInput;
class ListViewPane;

class ListViewControl : public QFrame {
public:
    ListViewControl(QWidget* parent, std::uint32_t style, std::uint32_t exStyle);
    ~ListViewControl() override;

    // The window the control belongs to; Null once it is destroyed.
    Hwnd handle() const;
    bool isAlive() const;

    ListViewModel& model() { return *m_model; }
    const ListViewModel& model() const { return *m_model; }
    ListViewStates& states() { return *m_states; }
    const ListViewStates& states() const { return *m_states; }
    const ListViewSettings& settings() const { return m_settings; }
    const ListCellLayouter& layouter() const { return m_layouter; }
    QAbstractItemView* view() const;

    // Window styles (creation, WM_STYLECHANGED): view type, LVS_* and border.
    void applyWindowStyles(std::uint32_t style, std::uint32_t exStyle);
    std::uint32_t setExtendedStyle(std::uint32_t mask, std::uint32_t style);
    // One of the three colour settings; the previous value.
    ColorRef setColor(ColorRef ListViewSettings::*which, ColorRef color);
    ImageList setImageList(int which, ImageList images);
    ImageList imageList(int which) const;
    ImageList setHeaderImages(ImageList images, ColorRef background);
    Cursor setHotCursor(Cursor cursor);
    void setListFont(const QFont& font);

    // Columns, kept in step with the report view's header.
    void insertColumn(int position, ListColumn column);
    void removeColumn(int column);
    void changeColumn(int column, ListColumn changed);
    void columnClicked(int column);
    // Whenever the row or item sizes may have changed.
    void settingsChanged();

    // Geometry, in client coordinates.
    ListHitTestInfo hitTest(QPoint client) const;
    QPoint clientFromViewport(QPoint viewportPoint) const;
    QRect subItemRect(int row, int column) const;
    int topRow() const;
    void ensureVisible(int row);
    // The parts of a cell whose rectangle (in the view's viewport) is known.
    ListCellLayout cellLayout(const QRect& cell, int row, int column) const;

    // What the delegate paints by.
    bool showsFocus() const;
    int hotRow() const;
    // Whether the user may start editing a label with this trigger.
    bool mayEditLabel(const QModelIndex& index, int trigger, const QEvent* event) const;
    // Asks the parent (LVN_BEGINLABELEDIT) whether the row's label may be
    // edited now.
    bool beginLabelEdit(int row);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The view fills the control inside its border.
    void fitView() const;
    void createView(std::uint32_t viewType);
    void retireView();
    QRect cellRect(int row, int column) const; // in the viewport

    ListViewSettings m_settings;
    ListViewModel* m_model;
    ListViewStates* m_states;
    ListCellLayouter m_layouter;
    ListViewDelegate* m_delegate;
    ListViewInput* m_input;
    ListViewPane* m_pane = nullptr; // a child widget, replaced when the view type changes
    Cursor m_hotCursor = Cursor::Null;
};

} // namespace platform::qt
