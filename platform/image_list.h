// Image lists: numbered images of one size that tree and list controls
// show beside their items, and that units draw.  Every list holds 32-bit
// images with alpha; an image list handle stays valid until destroyed,
// whatever control shows it.
#pragma once

#include "platform/gdi.h"
#include "platform/image_list_stream.h"
#include "platform/types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

enum class ImageList : std::uintptr_t { Null = 0 };

// An empty list of images cx by cy (each 1..32767); Null otherwise.
ImageList ImageListCreate(int cx, int cy);
// A list holding the given images; Null when their sizes do not agree.
ImageList ImageListCreate(const ImageListImages& images);
// A list from a unit's image list block; Null when the block is no image
// list (see ReadImageListBlock).
ImageList ImageListCreateFromBlock(std::span<const std::uint8_t> block);
bool ImageListDestroy(ImageList list);
bool IsImageList(ImageList list);

int ImageListCount(ImageList list);        // 0 for a handle that is no list
Size ImageListImageSize(ImageList list);   // {0, 0} for a handle that is no list
// Appends an image of cx*cy pixels (0xAARRGGBB, rows top-down); its index,
// or -1 when the list does not exist or the pixel count is wrong.
int ImageListAdd(ImageList list, std::span<const std::uint32_t> pixels);
// A copy of one image's pixels; empty when there is no such image.
std::vector<std::uint32_t> ImageListGetImage(ImageList list, int index);

// The colour drawn under every image (CLR_NONE: none, the image is drawn
// over what is there).  Set returns the previous colour.
ColorRef ImageListGetBkColor(ImageList list);
ColorRef ImageListSetBkColor(ImageList list, ColorRef color);

// Draws one image with its top-left corner at (x, y), blending by alpha
// over the background colour when the list has one, else over what the
// context shows.  False when the list, the image or the context is not
// there.
bool ImageListDraw(ImageList list, int index, Hdc hdc, int x, int y);

} // namespace platform
