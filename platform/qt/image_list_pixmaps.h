// What the platform's tree and list controls need of an image list: each
// image as a pixmap ready to paint, and a revision that changes whenever
// the list does, so a control can tell that its cached pixmaps are stale.
#pragma once

#include "platform/image_list.h"

#include <QPixmap>

#include <cstdint>

namespace platform::qt {

// The image with the list's background colour under it (when it has one);
// a null pixmap when the list or the image is not there.
QPixmap imageListPixmap(ImageList list, int index);
// 0 for a handle that is no list; otherwise at least 1.
std::uint64_t imageListRevision(ImageList list);

} // namespace platform::qt
