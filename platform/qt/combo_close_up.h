// How a combo box's dropped list closed, told to the parent in the classic
// order once it has closed: a choice gives CBN_SELENDOK, CBN_SELCHANGE,
// CBN_CLOSEUP; closing without one (Escape, a click elsewhere)
// CBN_SELENDCANCEL, CBN_CLOSEUP; the program's closing CBN_CLOSEUP alone.
#pragma once

#include <QObject>

namespace platform::qt {

class ComboBoxControl;

class ComboCloseUp : public QObject {
public:
    // Watches the dropped list's window.
    ComboCloseUp(ComboBoxControl& control, QWidget* popup);

    // The user chose an item.  True when the choice closed the list and is
    // told with its closing; false for a choice on the closed field.
    bool takeChoice();
    // The program is about to close the list.
    void programCloses() { m_byProgram = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish();

    ComboBoxControl& m_control;
    bool m_closing = false;
    bool m_chosen = false;
    bool m_byProgram = false;
};

} // namespace platform::qt
