// The colours of an edit field (an edit control, a combo box's field or
// list): what the parent answered to the colour request, the system's
// where it left them.
#pragma once

#include "platform/qt/control_support.h"

class QWidget;

namespace platform::qt {

struct FieldLook {
    bool staticLook = false; // read-only or disabled: static text's background
    bool disabled = false;
    // Without the focus the selection shows only with ES_NOHIDESEL; hidden,
    // it is drawn in the field's own colours.
    bool selectionShown = true;
};

// Sets the palette only when it changes: a new palette repaints, and this
// runs while painting.
void applyFieldPalette(QWidget* field, const ControlColors& colors, const FieldLook& look);

} // namespace platform::qt
