#include "panel_measures.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <tuple>

namespace mervex::panel {

namespace {

enum class Colour : std::uint8_t { red, white, other };

// Top-down, row by row, as a person counts rows.
struct Grid {
    std::vector<Colour> px = std::vector<Colour>(static_cast<std::size_t>(width) * height, Colour::other);
    Colour at(int col, int row) const { return px[static_cast<std::size_t>(row) * width + col]; }
    Colour& at(int col, int row) { return px[static_cast<std::size_t>(row) * width + col]; }
};

std::uint32_t u32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::int32_t i32(const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); }

const Spans expected_top{{0, 3}, {22, 28}, {41, 47}, {64, 70}};
const Spans expected_left{{0, 3}, {11, 15}, {25, 29}, {38, 42}};
const Spans expected_bottom{{21, 29}, {41, 47}, {62, 69}, {84, 86}};
const Spans expected_right{{10, 15}, {24, 29}, {38, 42}, {51, 54}};
constexpr int expected_red = 2944;
constexpr int expected_white = 1841;
constexpr int expected_stripes = 7;
constexpr double min_slope = 1.4, max_slope = 1.9;

std::string str(const Spans& spans)
{
    if (spans.empty()) return "none";
    std::ostringstream out;
    for (std::size_t i = 0; i < spans.size(); ++i)
        out << (i ? ", " : "") << spans[i].first << "-" << spans[i].second;
    return out.str();
}

template <class Pixel>
Spans white_spans(int n, Pixel pixel)
{
    Spans spans;
    for (int i = 0; i < n; ++i) {
        if (pixel(i) != Colour::white) continue;
        if (!spans.empty() && spans.back().second == i - 1)
            spans.back().second = i;
        else
            spans.emplace_back(i, i);
    }
    return spans;
}

// One line of pixels: adds its interior runs; notes the first run outside its range.
template <class Pixel>
void runs_of_line(int n, Pixel pixel, RunLengths& white, RunLengths& red, std::vector<std::string>& white_bad,
                  std::vector<std::string>& red_bad, std::pair<int, int> white_ok, std::pair<int, int> red_ok,
                  const std::string& where)
{
    int start = 0;
    for (int i = 1; i <= n; ++i) {
        if (i < n && pixel(i) == pixel(start)) continue;
        const int length = i - start;
        const bool interior = start > 0 && i < n;
        const Colour c = pixel(start);
        if (interior && c != Colour::other) {
            RunLengths& runs = c == Colour::white ? white : red;
            const auto ok = c == Colour::white ? white_ok : red_ok;
            runs.add(length);
            if (length < ok.first || length > ok.second) {
                std::ostringstream at;
                at << where << " " << start << "-" << i - 1 << " (" << length << ")";
                (c == Colour::white ? white_bad : red_bad).push_back(at.str());
            }
        }
        start = i;
    }
}

void check_runs(const char* what, const RunLengths& runs, std::pair<int, int> ok, const std::vector<std::string>& bad,
                std::vector<std::string>& failures)
{
    if (bad.empty()) return;
    std::ostringstream out;
    out << what << ": lengths " << runs.min << " to " << runs.max << ", " << bad.size() << " outside " << ok.first
        << " to " << ok.second << ", first at " << bad.front();
    failures.push_back(out.str());
}

// Labels the white areas (joined through pixel sides) and fits each one's centre line.
void find_stripes(const Grid& g, Measures& m, std::vector<std::string>& failures)
{
    std::vector<int> label(g.px.size(), -1);
    struct Stripe {
        int top_row = 0, top_col = 0;
        std::vector<std::array<int, 3>> rows;  // row, first, last
    };
    std::vector<Stripe> stripes;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const std::size_t i = static_cast<std::size_t>(row) * width + col;
            if (g.px[i] != Colour::white || label[i] >= 0) continue;
            const int id = static_cast<int>(stripes.size());
            stripes.push_back({row, col, {}});
            std::vector<std::size_t> todo{i};
            label[i] = id;
            while (!todo.empty()) {
                const std::size_t p = todo.back();
                todo.pop_back();
                const int r = static_cast<int>(p / width), c = static_cast<int>(p % width);
                const std::array<std::pair<int, int>, 4> next{{{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}}};
                for (auto [nc, nr] : next) {
                    if (nc < 0 || nc >= width || nr < 0 || nr >= height) continue;
                    const std::size_t q = static_cast<std::size_t>(nr) * width + nc;
                    if (g.px[q] == Colour::white && label[q] < 0) {
                        label[q] = id;
                        todo.push_back(q);
                    }
                }
            }
        }
    m.stripes = static_cast<int>(stripes.size());
    if (m.stripes != expected_stripes) {
        failures.push_back("white stripes: " + std::to_string(m.stripes) + ", expected " +
                           std::to_string(expected_stripes));
    }
    for (std::size_t id = 0; id < stripes.size(); ++id) {
        Stripe& s = stripes[id];
        int split_rows = 0, first_split = -1;
        for (int row = 0; row < height; ++row) {
            int first = -1, last = -1, pieces = 0;
            for (int col = 0; col < width; ++col) {
                if (label[static_cast<std::size_t>(row) * width + col] != static_cast<int>(id)) continue;
                if (last != col - 1 || first < 0) ++pieces, first = col;
                last = col;
            }
            if (pieces > 1 && split_rows++ == 0) first_split = row;
            if (pieces == 1 && first > 0 && last < width - 1) s.rows.push_back({row, first, last});
        }
        if (split_rows) {
            failures.push_back("stripe from row " + std::to_string(s.top_row) + " column " +
                               std::to_string(s.top_col) + " is split in " + std::to_string(split_rows) +
                               " rows, first in row " + std::to_string(first_split));
        }
        if (s.rows.size() < 2) {
            failures.push_back("stripe from row " + std::to_string(s.top_row) + " column " +
                               std::to_string(s.top_col) + " has too few whole rows to show its direction");
            continue;
        }
        double sr = 0, sc = 0, srr = 0, src = 0;
        const double n = static_cast<double>(s.rows.size());
        for (const auto& [row, first, last] : s.rows) {
            const double c = (first + last) / 2.0;
            sr += row, sc += c, srr += double(row) * row, src += row * c;
        }
        const double slope = (n * src - sr * sc) / (n * srr - sr * sr);
        m.stripe_slopes.push_back(slope);
        if (!(slope >= min_slope && slope <= max_slope)) {
            std::ostringstream out;
            out << "stripe from row " << s.top_row << " column " << s.top_col << " runs " << slope
                << " columns per row, expected " << min_slope << " to " << max_slope;
            failures.push_back(out.str());
        }
    }
}

void measure(const Grid& g, Measures& m, std::vector<std::string>& failures)
{
    for (Colour c : g.px) {
        if (c == Colour::red) ++m.red;
        else if (c == Colour::white) ++m.white;
        else ++m.other;
    }
    if (m.other)
        failures.push_back("pixels neither pure red nor pure white: " + std::to_string(m.other));
    if (m.red != expected_red || m.white != expected_white) {
        failures.push_back("colour counts: " + std::to_string(m.red) + " red, " + std::to_string(m.white) +
                           " white; expected " + std::to_string(expected_red) + " and " +
                           std::to_string(expected_white));
    }

    std::vector<std::string> rw, rr, cw, cr;
    const std::pair<int, int> row_white_ok{7, 9}, row_red_ok{10, 18}, col_white_ok{5, 6}, col_red_ok{6, 11};
    for (int row = 0; row < height; ++row)
        runs_of_line(width, [&](int c) { return g.at(c, row); }, m.row_white, m.row_red, rw, rr, row_white_ok,
                     row_red_ok, "row " + std::to_string(row) + " columns");
    for (int col = 0; col < width; ++col)
        runs_of_line(height, [&](int r) { return g.at(col, r); }, m.column_white, m.column_red, cw, cr,
                     col_white_ok, col_red_ok, "column " + std::to_string(col) + " rows");
    check_runs("white runs along rows", m.row_white, row_white_ok, rw, failures);
    check_runs("red runs along rows", m.row_red, row_red_ok, rr, failures);
    check_runs("white runs along columns", m.column_white, col_white_ok, cw, failures);
    check_runs("red runs along columns", m.column_red, col_red_ok, cr, failures);
    // Most red gaps along a row are 12 to 14 wide; the rest lie at the wider or narrower ends of stripes.
    if (m.row_red.count && 2 * m.row_red.between(12, 14) <= m.row_red.count) {
        failures.push_back("red runs along rows: only " + std::to_string(m.row_red.between(12, 14)) + " of " +
                           std::to_string(m.row_red.count) + " are 12 to 14 long");
    }

    m.top = white_spans(width, [&](int c) { return g.at(c, 0); });
    m.bottom = white_spans(width, [&](int c) { return g.at(c, height - 1); });
    m.left = white_spans(height, [&](int r) { return g.at(0, r); });
    m.right = white_spans(height, [&](int r) { return g.at(width - 1, r); });
    const std::array<std::tuple<const char*, const Spans*, const Spans*>, 4> edges{{
        {"top row", &m.top, &expected_top},
        {"left column", &m.left, &expected_left},
        {"bottom row", &m.bottom, &expected_bottom},
        {"right column", &m.right, &expected_right},
    }};
    for (const auto& [name, got, want] : edges)
        if (*got != *want)
            failures.push_back(std::string("white pixels on the ") + name + ": " + str(*got) + "; expected " +
                               str(*want));

    find_stripes(g, m, failures);
}

void expect(std::vector<std::string>& failures, const char* field, long long got, long long want)
{
    if (got != want)
        failures.push_back(std::string(field) + " is " + std::to_string(got) + ", expected " + std::to_string(want));
}

}  // namespace

void RunLengths::add(int length)
{
    if (count == 0 || length < min) min = length;
    if (count == 0 || length > max) max = length;
    ++count;
    if (histogram.size() <= static_cast<std::size_t>(length)) histogram.resize(static_cast<std::size_t>(length) + 1);
    ++histogram[static_cast<std::size_t>(length)];
}

int RunLengths::between(int low, int high) const
{
    int n = 0;
    for (int i = std::max(low, 0); i <= high && static_cast<std::size_t>(i) < histogram.size(); ++i)
        n += histogram[static_cast<std::size_t>(i)];
    return n;
}

Report check_dib(const std::uint8_t* dib, std::size_t size)
{
    Report report;
    auto& f = report.failures;
    if (size < header_size) {
        f.push_back("bitmap of " + std::to_string(size) + " bytes is shorter than its 40-byte header");
        return report;
    }
    expect(f, "header size", u32(dib), header_size);
    expect(f, "width", i32(dib + 4), width);
    expect(f, "height", i32(dib + 8), height);
    expect(f, "planes", u16(dib + 12), 1);
    expect(f, "bits per pixel", u16(dib + 14), 24);
    expect(f, "compression", u32(dib + 16), 0);
    expect(f, "image size", u32(dib + 20), image_size);
    expect(f, "horizontal resolution", i32(dib + 24), 0);
    expect(f, "vertical resolution", i32(dib + 28), 0);
    expect(f, "colours used", u32(dib + 32), 0);
    expect(f, "colours important", u32(dib + 36), 0);
    expect(f, "bitmap size", static_cast<long long>(size), dib_size);
    // The rows can be read only in the one layout the picture is meant to have.
    const bool readable = u32(dib) == header_size && i32(dib + 4) == width && i32(dib + 8) == height &&
                          u16(dib + 14) == 24 && u32(dib + 16) == 0 && size >= dib_size;
    if (!readable) return report;

    report.pixels_read = true;
    Grid g;
    int padding = 0;
    for (int stored = 0; stored < height; ++stored) {
        const std::uint8_t* line = dib + header_size + static_cast<std::size_t>(stored) * row_bytes;
        const int row = height - 1 - stored;  // the first stored row is the bottom one
        for (int col = 0; col < width; ++col) {
            const std::uint8_t* p = line + 3 * col;  // blue, green, red
            Colour c = Colour::other;
            if (p[2] == 255 && p[1] == 0 && p[0] == 0) c = Colour::red;
            else if (p[2] == 255 && p[1] == 255 && p[0] == 255) c = Colour::white;
            g.at(col, row) = c;
        }
        for (std::size_t b = 3 * width; b < row_bytes; ++b) padding += line[b] != 0;
    }
    if (padding) f.push_back(std::to_string(padding) + " row padding bytes are not zero");
    measure(g, report.measures, f);
    return report;
}

Report check_bmp_file(const std::uint8_t* file, std::size_t size)
{
    if (size < file_header_size) {
        Report report;
        report.failures.push_back("file of " + std::to_string(size) + " bytes is shorter than a bitmap file header");
        return report;
    }
    std::vector<std::string> f;
    if (file[0] != 'B' || file[1] != 'M') f.push_back("file does not start with \"BM\"");
    expect(f, "file size field", u32(file + 2), file_header_size + dib_size);
    expect(f, "reserved fields", u32(file + 6), 0);
    expect(f, "pixel offset", u32(file + 10), file_header_size + header_size);
    Report report = check_dib(file + file_header_size, size - file_header_size);
    report.failures.insert(report.failures.begin(), f.begin(), f.end());
    return report;
}

}  // namespace mervex::panel
