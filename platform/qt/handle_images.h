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

// The image behind a bitmap handle, for a memory context to draw into;
// null for a handle that is no bitmap.  It stays at its address while the
// bitmap lives.
QImage* bitmapSurface(Bitmap bitmap);
// Whether a memory context holds the bitmap, which may not go meanwhile.
bool isBitmapSelected(Bitmap bitmap);

} // namespace platform::qt
