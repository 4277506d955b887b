#include "layer/device_context.h"

namespace layer {

MemoryDC::MemoryDC(int width, int height) : pixels_(static_cast<size_t>(width) * height, 0) {
    HDC__::pixels = pixels_.data();
    stride = width;
    clip = RECT{0, 0, width, height};
    hook = write;  // opens no run: every call comes here
}

COLORREF MemoryDC::write(HDC__* dc, int x, int y, COLORREF colour) {
    auto* self = static_cast<MemoryDC*>(dc);
    ++self->calls_;
    if (self->recording_) self->log_.push_back(POINT{x, y});
    if (x < 0 || y < 0 || x >= self->clip.right || y >= self->clip.bottom) return CLR_INVALID;
    return self->pixels_[static_cast<size_t>(y) * self->stride + x] = colour & 0x00FFFFFF;
}

}  // namespace layer
