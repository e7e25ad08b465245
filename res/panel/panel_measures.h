// Checks of the control dialog's striped picture (resource IDB_PANEL): the
// bitmap header, the row layout, the two colours and the shape of the
// stripes. One implementation for the Linux tests and for tools that check
// the resources of a built Windows module; it throws nothing and reads only
// the bytes it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mervex::panel {

constexpr int width = 87;
constexpr int height = 55;
constexpr std::size_t header_size = 40;
constexpr std::size_t row_bytes = 264;
constexpr std::size_t image_size = row_bytes * height;  // 14520
constexpr std::size_t dib_size = header_size + image_size;  // 14560
constexpr std::size_t file_header_size = 14;

// Lengths of the runs that touch neither end of their row or column: a run
// cut off by the picture's edge says nothing about the stripe's width.
struct RunLengths {
    int count = 0;
    int min = 0;
    int max = 0;
    std::vector<int> histogram;  // histogram[n]: how many runs have length n
    void add(int length);
    int between(int low, int high) const;  // runs with low <= length <= high
};

// Inclusive (first, last) pixel ranges; columns from the left, rows from the top.
using Spans = std::vector<std::pair<int, int>>;

struct Measures {
    int red = 0;
    int white = 0;
    int other = 0;
    RunLengths row_white, row_red, column_white, column_red;
    int stripes = 0;  // white areas, pixels joined through their sides
    // Each stripe's centre line in columns per row, fitted over the rows in
    // which the stripe touches neither side of the picture; in the order in
    // which reading row by row from the top first meets each stripe.
    std::vector<double> stripe_slopes;
    Spans top, left, bottom, right;  // the white pixels on each edge
};

struct Report {
    bool pixels_read = false;  // false when the header was too wrong to read the rows
    Measures measures;
    std::vector<std::string> failures;  // empty when the picture is as the dialog needs it
};

// `dib`: BITMAPINFOHEADER and pixel rows, as the bitmap resource holds them.
Report check_dib(const std::uint8_t* dib, std::size_t size);
// A .bmp file: BITMAPFILEHEADER, then the DIB.
Report check_bmp_file(const std::uint8_t* file, std::size_t size);

}  // namespace mervex::panel
