// The bitmap reader: any bytes give an image whose pixels fill its size, or
// a readable refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "pictures/bitmap.h"
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const app::Bitmap bmp = app::decode_bitmap(std::vector<std::uint8_t>(data, data + size), "fuzz.bmp");
        if (bmp.rgb.size() != std::size_t(bmp.width) * std::size_t(bmp.height) * 3) std::abort();
    } catch (const std::runtime_error& e) {
        fuzz::check_message(e.what());
    }
    return 0;
}
