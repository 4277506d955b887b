// SharedImage: the picture's upload through an XImage in shared memory.
#include "fltk/shm_image.h"

#include <FL/Fl.H>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace layer::fltk {

namespace {

bool disabled = false;       // no more tries after a failure
int completion_type = 0;     // the ShmCompletion event's type
bool attach_refused = false; // set by the error handler during the attach

bool forced_off() {
    const char* value = std::getenv("QUIMBAR_NO_SHM");
    return value && *value && std::strcmp(value, "0") != 0;
}

// Whether FLTK's visual holds pixels as 0x00RRGGBB (the usual TrueColor
// layout), the one the conversion writes.
bool visual_is_rgb() {
    return fl_visual && fl_visual->c_class == TrueColor && (fl_visual->depth == 24 || fl_visual->depth == 32) &&
           fl_visual->red_mask == 0xFF0000 && fl_visual->green_mask == 0xFF00 && fl_visual->blue_mask == 0xFF;
}

// One row, 0x00BBGGRR to 0x00RRGGBB: a plain loop the compiler vectorises.
void convert_row(const COLORREF* __restrict in, uint32_t* __restrict out, int n) {
    for (int i = 0; i < n; ++i) {
        uint32_t c = in[i];
        out[i] = (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
    }
}

}  // namespace

// The server keeps its own mapping until it has handled the detach.
SharedImage::~SharedImage() {
    if (attached_) XShmDetach(display_, &segment_);
    if (image_) {
        // The data is the segment, not Xlib's to free.
        image_->data = nullptr;
        image_->obdata = nullptr;
        XDestroyImage(image_);
    }
    if (segment_.shmaddr) shmdt(segment_.shmaddr);
}

std::unique_ptr<SharedImage> SharedImage::create(int width, int height) {
    if (disabled || width <= 0 || height <= 0) return nullptr;
    // Any failure rules MIT-SHM out for good; the destructor frees what was made.
    disabled = true;
    Display* display = fl_display;
    if (forced_off() || !display || !XShmQueryExtension(display) || !visual_is_rgb()) return nullptr;
    completion_type = XShmGetEventBase(display) + ShmCompletion;

    std::unique_ptr<SharedImage> shared(new SharedImage);
    shared->display_ = display;
    XShmSegmentInfo& segment = shared->segment_;
    XImage* image = shared->image_ =
        XShmCreateImage(display, fl_visual->visual, fl_visual->depth, ZPixmap, nullptr, &segment, width, height);
    int wanted_order = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? LSBFirst : MSBFirst;
    if (!image || image->bits_per_pixel != 32 || image->byte_order != wanted_order) return nullptr;

    segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (segment.shmid < 0) return nullptr;
    void* address = shmat(segment.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        return nullptr;
    }
    segment.shmaddr = image->data = static_cast<char*>(address);
    segment.readOnly = True;

    // A remote server cannot reach the segment and answers the attach with
    // an error: catch it instead of FLTK's handler reporting it.
    XSync(display, False);
    attach_refused = false;
    XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) {
        attach_refused = true;
        return 0;
    });
    Status sent = XShmAttach(display, &segment);
    XSync(display, False);
    XSetErrorHandler(previous);
    // Removed now, the segment goes away with the last detach, even if the
    // process dies.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!sent || attach_refused) return nullptr;
    shared->attached_ = true;
    disabled = false;
    return shared;
}

void SharedImage::wait_for_server() {
    if (!put_pending_) return;
    XEvent event;
    // Reads what the server has sent so far.
    while (XCheckTypedWindowEvent(display_, put_window_, completion_type, &event)) {
    }
    if (static_cast<long>(LastKnownRequestProcessed(display_) - put_serial_) < 0) {
        XSync(display_, False);
        while (XCheckTypedWindowEvent(display_, put_window_, completion_type, &event)) {
        }
    }
    put_pending_ = false;
}

void SharedImage::put(const COLORREF* back, int stride, int x0, int y0, int x1, int y1, int dst_x, int dst_y) {
    wait_for_server();
    XImage* image = image_;
    for (int y = y0; y < y1; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(image->data + static_cast<size_t>(y) * image->bytes_per_line) + x0;
        convert_row(back + static_cast<size_t>(y) * stride + x0, out, x1 - x0);
    }
    put_serial_ = NextRequest(display_);
    put_window_ = fl_window;
    XShmPutImage(display_, fl_window, fl_gc, image, x0, y0, dst_x, dst_y, x1 - x0, y1 - y0, True);
    put_pending_ = true;
}

}  // namespace layer::fltk
