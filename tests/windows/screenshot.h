// A window's picture as the system drew it, and a PNG file of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, top row first
    std::uint32_t pixel(int x, int y) const
    {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : rgb[size_t(y) * width + x];
    }
};

// Copies the whole window, frame and caption included, from its window DC.
// Empty when the window has no picture.
Screenshot CaptureWindow(HWND window);
// Uncompressed (stored) PNG, 8-bit RGB. False with a reason on failure.
bool WritePng(const Screenshot& shot, const std::string& path, std::string& error);
