#include "pictures/bitmap.h"

#include <cstdlib>
#include <stdexcept>

namespace app {

namespace {
uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
}  // namespace

Bitmap decode_bitmap(const std::vector<uint8_t>& bytes, const std::string& name)
{
    auto fail = [&](const std::string& why) { return std::runtime_error(name + ": " + why); };
    // A file starts with "BM" and a 14-byte header; a resource is the DIB alone.
    const size_t dib = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M' ? 14 : 0;
    if (bytes.size() < dib + 40 || U32(bytes, dib) < 40) throw fail("not a bitmap (no BITMAPINFOHEADER)");
    const int32_t width = static_cast<int32_t>(U32(bytes, dib + 4));
    const int32_t height = static_cast<int32_t>(U32(bytes, dib + 8));
    if (U16(bytes, dib + 14) != 24 || U32(bytes, dib + 16) != 0) throw fail("only 24-bit uncompressed bitmaps are drawn");
    if (width <= 0 || height == 0 || width > 16384 || std::abs(height) > 16384) throw fail("bad size");
    const size_t rows = static_cast<size_t>(std::abs(height)), stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t pixels = dib ? U32(bytes, 10) : dib + U32(bytes, dib);
    if (pixels > bytes.size() || bytes.size() - pixels < stride * rows) throw fail("the pixel rows are cut short");
    Bitmap bmp;
    bmp.width = width;
    bmp.height = static_cast<int>(rows);
    bmp.rgb.resize(static_cast<size_t>(width) * rows * 3);
    for (size_t r = 0; r < rows; ++r) {
        const size_t src_row = height > 0 ? rows - 1 - r : r;  // positive height: stored bottom-up
        const uint8_t* src = &bytes[pixels + src_row * stride];
        for (size_t c = 0; c < static_cast<size_t>(width); ++c) {
            uint8_t* dst = &bmp.rgb[(r * static_cast<size_t>(width) + c) * 3];
            dst[0] = src[c * 3 + 2];
            dst[1] = src[c * 3 + 1];
            dst[2] = src[c * 3];
        }
    }
    return bmp;
}

}  // namespace app
