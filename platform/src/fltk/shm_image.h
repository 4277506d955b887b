// The picture's upload through MIT-SHM (shm_image.cpp). Only main_window.cpp
// needs it, so the X headers it brings stay out of the other FLTK sources.
#ifndef QUIMBAR_LAYER_FLTK_SHM_IMAGE_H
#define QUIMBAR_LAYER_FLTK_SHM_IMAGE_H

#include <windows.h>
#include <FL/x.H>
#include <X11/extensions/XShm.h>

#include <memory>

namespace layer::fltk {

// An XImage in a shared memory segment that the X server reads directly, so
// a put sends no pixels through the socket. Only on a local display that
// offers the extension and a 24/32-bit TrueColor visual with 0x00RRGGBB
// pixels; elsewhere (remote displays, QUIMBAR_NO_SHM=1 in the environment)
// create() returns null and the picture is drawn with fl_draw_image.
class SharedImage {
public:
    // An image of width x height pixels for windows of FLTK's visual
    // (fl_visual) on fl_display; null if the display does not allow it.
    // After one failure no further image is tried.
    static std::unique_ptr<SharedImage> create(int width, int height);
    // Detaches and frees the segment.
    ~SharedImage();
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    int width() const { return image_->width; }
    int height() const { return image_->height; }

    // Converts [x0, x1) x [y0, y1) of `back` (0x00BBGGRR, `stride` pixels a
    // row, within width() x height()) into the image and puts it at
    // (dst_x, dst_y) of fl_window with fl_gc. First waits until the server
    // has read the previous put; does not wait for this one.
    void put(const COLORREF* back, int stride, int x0, int y0, int x1, int y1, int dst_x, int dst_y);

private:
    SharedImage() = default;
    // Waits until the server has handled the last put (its completion event,
    // or any later answer, has arrived); takes the completion events off the
    // queue so FLTK does not wake up for them.
    void wait_for_server();

    Display* display_ = nullptr;
    XShmSegmentInfo segment_{};
    XImage* image_ = nullptr;
    bool attached_ = false;
    // The last put, while the server may still be reading the segment.
    bool put_pending_ = false;
    unsigned long put_serial_ = 0;
    Window put_window_ = 0;
};

}  // namespace layer::fltk

#endif
