// The Qt images behind cursor, icon and bitmap handles, for the controls
// that draw or show them (a list's hot cursor, a button's picture).
#pragma once

#include "platform/gdi.h"
#include "platform/types.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <optional>

namespace platform::qt {

// Nothing for a handle that is no such object.
std::optional<QCursor> qcursorFor(Cursor cursor);
std::optional<QPixmap> qpixmapFor(Icon icon);
std::optional<QImage> qimageFor(Bitmap bitmap);

} // namespace platform::qt
