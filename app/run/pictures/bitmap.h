// 24-bit uncompressed bitmaps, from a .bmp file's bytes or a bare DIB as
// resources hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

struct Bitmap {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // top row first, three bytes a pixel
};

// Throws std::runtime_error "name: reason" for anything but a 24-bit BI_RGB image.
Bitmap decode_bitmap(const std::vector<uint8_t>& bytes, const std::string& name);

}  // namespace app
