// Device contexts of the Linux layer. BeginPaint's context writes a window's
// back buffer (platform/src/core.cpp); MemoryDC writes a plain pixel array.
#ifndef QUIMBAR_LAYER_DEVICE_CONTEXT_H
#define QUIMBAR_LAYER_DEVICE_CONTEXT_H

#include <windows.h>

#include <vector>

namespace layer {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// A pixel sink in memory: width x height pixels, initially black, with an
// optional log of every SetPixel call in call order.
class MemoryDC : public HDC__ {
public:
    MemoryDC(int width, int height);
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC hdc() { return this; }
    int width() const { return stride; }
    int height() const { return clip.bottom; }
    const std::vector<COLORREF>& pixels() const { return pixels_; }
    COLORREF at(int x, int y) const { return pixels_[static_cast<size_t>(y) * stride + x]; }

    // Number of SetPixel calls so far, clipped ones included.
    long calls() const { return calls_; }
    void record_calls(bool on) { recording_ = on; }
    const std::vector<POINT>& call_log() const { return log_; }

private:
    static COLORREF write(HDC__* dc, int x, int y, COLORREF colour);

    std::vector<COLORREF> pixels_;
    long calls_ = 0;
    bool recording_ = false;
    std::vector<POINT> log_;
};

}  // namespace layer

#endif
