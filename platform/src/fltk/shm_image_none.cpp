// Built without libXext: no shared memory images, the picture always goes
// through fl_draw_image.
#include "fltk/shm_image.h"

namespace layer::fltk {

struct SharedImage::State {};

SharedImage::SharedImage(std::unique_ptr<State> state, int width, int height)
    : state_(std::move(state)), width_(width), height_(height) {}

SharedImage::~SharedImage() = default;

std::unique_ptr<SharedImage> SharedImage::create(int, int) { return nullptr; }

void SharedImage::put(const COLORREF*, int, int, int, int, int, int, int) {}

}  // namespace layer::fltk
