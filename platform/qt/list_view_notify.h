// Telling a list-view control's parent what happened.
#pragma once

#include "platform/list_view.h"

class QWidget;

namespace platform::qt {

struct ListNotifyResult {
    LResult answer = 0;
    // Whether the control's window still exists: the parent's handler may
    // have destroyed it, and then nothing of the control may be touched.
    bool alive = false;
};

// Sends WM_NOTIFY with `code` for the control behind `control`; nothing is
// sent (and alive is false) when its window is gone already.
ListNotifyResult notifyListParent(const QWidget* control, std::uint32_t code, NotifyHeader& header);

// A row notification (LVN_ITEMCHANGED, NM_CLICK, ...) with the row, the
// column and the client point it concerns.
NmListView rowNotice(int item, int subItem = 0, Point at = {});

} // namespace platform::qt
