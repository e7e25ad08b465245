#include "screenshot.h"

#include <cstdio>
#include <memory>

namespace {
struct DcReleaser {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};

std::uint32_t Crc(const std::uint8_t* data, size_t n, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) out.push_back(std::uint8_t(v >> s));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body)
{
    Put32(out, std::uint32_t(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc(out.data() + start, out.size() - start));
}

// zlib stream of stored blocks: no compression, so no compressor needed.
std::vector<std::uint8_t> Stored(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(std::uint8_t(n));
        z.push_back(std::uint8_t(n >> 8));
        z.push_back(std::uint8_t(~n));
        z.push_back(std::uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);
    return z;
}
}  // namespace

Screenshot CaptureWindow(HWND window)
{
    Screenshot shot;
    RECT r;
    if (!GetWindowRect(window, &r)) return shot;
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::unique_ptr<HDC__, DcReleaser> wdc(GetWindowDC(window), DcReleaser{window});
    if (!wdc || w <= 0 || h <= 0) return shot;
    HDC mem = CreateCompatibleDC(wdc.get());
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(wdc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        if (BitBlt(mem, 0, 0, w, h, wdc.get(), 0, 0, SRCCOPY)) {
            GdiFlush();
            const auto* px = static_cast<const std::uint32_t*>(bits);
            shot.width = w;
            shot.height = h;
            shot.rgb.assign(px, px + size_t(w) * h);
            for (std::uint32_t& p : shot.rgb) p &= 0xFFFFFF;
        }
        SelectObject(mem, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(mem);
    return shot;
}

bool WritePng(const Screenshot& shot, const std::string& path, std::string& error)
{
    if (shot.width <= 0 || shot.height <= 0) {
        error = "no picture to write";
        return false;
    }
    std::vector<std::uint8_t> raw;
    raw.reserve(size_t(shot.height) * (1 + 3 * size_t(shot.width)));
    for (int y = 0; y < shot.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t p = shot.pixel(x, y);
            raw.push_back(std::uint8_t(p >> 16));
            raw.push_back(std::uint8_t(p >> 8));
            raw.push_back(std::uint8_t(p));
        }
    }
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Put32(ihdr, std::uint32_t(shot.width));
    Put32(ihdr, std::uint32_t(shot.height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", Stored(raw));
    Chunk(png, "IEND", {});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot create " + path;
        return false;
    }
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    if (std::fclose(f) != 0 || !ok) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
