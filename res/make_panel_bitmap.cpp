// Writes panel.bmp, the striped picture of the control dialog: seven white
// stripes on red, falling from the upper left to the lower right. Refuses to
// write a picture that fails the panel checks.
//
// Usage: make_panel_bitmap <output .bmp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "panel_measures.h"

namespace {

using mervex::panel::height;
using mervex::panel::width;

// One straight edge: the column it crosses in row `r` is at_top + per_row * r,
// rows counted from the top.
struct Edge {
    double at_top;
    double per_row;
    int column(int r) const { return static_cast<int>(std::floor(at_top + per_row * r + 0.5)); }
};

struct Stripe {
    Edge left, right;  // both white
};

// Found by a search over straight edges for the picture's widths, run lengths
// and edge pixels. The stripes are not quite parallel: each one's ends are
// fixed by where it leaves the picture.
const Stripe stripes[] = {
    {{-74.937, 1.7714}, {-66.315, 1.7600}},
    {{-47.850, 1.6419}, {-40.343, 1.6405}},
    {{-24.182, 1.6005}, {-16.984, 1.5999}},
    {{-5.666, 1.6587}, {2.665, 1.6358}},
    {{21.508, 1.5350}, {28.487, 1.5362}},
    {{40.630, 1.5302}, {47.423, 1.5894}},
    {{63.783, 1.5010}, {70.272, 1.6657}},
};

// A search found no set of straight edges that gives every run length
// together with the bottom row's white pixels. Here the second stripe's right
// edge, which its line would bring to column 48 in the bottom row, stops one
// pixel short there.
const int bent_stripe = 1;
const int bent_row = height - 1;

std::vector<bool> white_pixels()
{
    std::vector<bool> white(static_cast<std::size_t>(width) * height, false);
    for (int s = 0; s < static_cast<int>(std::size(stripes)); ++s)
        for (int r = 0; r < height; ++r) {
            const int first = stripes[s].left.column(r);
            const int last = stripes[s].right.column(r) - (s == bent_stripe && r == bent_row ? 1 : 0);
            for (int c = std::max(first, 0); c <= std::min(last, width - 1); ++c)
                white[static_cast<std::size_t>(r) * width + c] = true;
        }
    return white;
}

void put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

std::vector<std::uint8_t> bmp_file(const std::vector<bool>& white)
{
    using namespace mervex::panel;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, file_header_size + dib_size);
    put32(out, 0);
    put32(out, file_header_size + header_size);

    put32(out, header_size);
    put32(out, width);
    put32(out, height);
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, image_size);
    put32(out, 0);  // resolutions: none given
    put32(out, 0);
    put32(out, 0);  // colours used, important: no table
    put32(out, 0);

    for (int r = height - 1; r >= 0; --r) {  // bottom row first
        for (int c = 0; c < width; ++c) {
            const std::uint8_t other = white[static_cast<std::size_t>(r) * width + c] ? 255 : 0;
            out.push_back(other);  // blue
            out.push_back(other);  // green
            out.push_back(255);    // red
        }
        out.resize(out.size() + row_bytes - 3 * width, 0);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* const usage =
        "Usage: make_panel_bitmap FILE.bmp\n\n"
        "Draws the control dialog's striped picture, checks it as the module's\n"
        "resources are checked, and writes it to FILE.bmp.\n\n"
        "  -h, --help  this text\n";
    const std::string arg = argc > 1 ? argv[1] : "";
    if (argc == 2 && (arg == "-h" || arg == "--help")) {
        std::cout << usage;
        return 0;
    }
    // A name that starts with '-' is an option this program does not know,
    // not a file to write; "./-x" names such a file.
    if (argc != 2 || arg.empty() || arg[0] == '-') {
        std::cerr << "make_panel_bitmap: " << (argc == 2 && !arg.empty() ? "unknown option " + arg : std::string("give one file to write"))
                  << " (see --help)\n";
        return 2;
    }
    const std::vector<std::uint8_t> file = bmp_file(white_pixels());
    const mervex::panel::Report report = mervex::panel::check_bmp_file(file.data(), file.size());
    if (!report.failures.empty()) {
        for (const std::string& f : report.failures) std::cerr << "panel: " << f << "\n";
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    const auto& m = report.measures;
    std::cout << argv[1] << ": " << m.red << " red, " << m.white << " white, " << m.stripes << " stripes\n";
    return 0;
}
