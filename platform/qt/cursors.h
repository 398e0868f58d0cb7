// The Qt cursor behind a cursor handle, for the controls that show one of
// their own (the list view's hot cursor).
#pragma once

#include "platform/types.h"

#include <QCursor>

#include <optional>

namespace platform::qt {

// Nothing for a handle that is no cursor.
std::optional<QCursor> qcursorFor(Cursor cursor);

} // namespace platform::qt
