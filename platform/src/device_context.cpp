#include "layer/device_context.h"

namespace layer {

MemoryDC::MemoryDC(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

COLORREF MemoryDC::set_pixel(int x, int y, COLORREF colour) {
    ++calls_;
    if (recording_) log_.push_back(POINT{x, y});
    if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_) ||
        static_cast<unsigned>(y) >= static_cast<unsigned>(height_))
        return CLR_INVALID;
    pixels_[static_cast<size_t>(y) * width_ + x] = colour & 0x00FFFFFF;
    return colour & 0x00FFFFFF;
}

COLORREF MemoryDC::get_pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

}  // namespace layer

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    if (!hdc) return layer::CLR_INVALID;
    return hdc->get_pixel(x, y);
}
