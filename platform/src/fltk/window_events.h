// What the backend's widgets report to the backend: drawing, exposures,
// menus and resizes. FltkBackend implements it; the widgets know only this,
// so they need not know the backend that owns them.
#ifndef QUIMBAR_LAYER_FLTK_WINDOW_EVENTS_H
#define QUIMBAR_LAYER_FLTK_WINDOW_EVENTS_H

namespace layer::fltk {

class WindowEvents {
public:
    // Counts every redraw of a picture, reported or not.
    virtual void note_picture_drawn() = 0;
    // A picture reports an exposure.
    virtual void note_exposure() = 0;
    // A picture has chosen how it uploads: through shared memory or with
    // fl_draw_image (traced with QUIMBAR_TRACE_IDLE).
    virtual void note_upload(bool shared) = 0;
    // Exposures are not reported while a menu is open or restoring what it
    // covered: menus save what lies beneath them, as on Win32.
    virtual bool exposures_suppressed() const = 0;
    virtual void menu_opened() = 0;
    // `shown`: a menu was on screen; the exposures its closing causes are
    // taken (and not reported) before the next paint.
    virtual void menu_closed(bool shown) = 0;
    // A window was resized or mapped: the exposures that follow should
    // arrive before the next paint, so that all of them make one paint.
    virtual void expect_exposures() = 0;

protected:
    ~WindowEvents() = default;
};

}  // namespace layer::fltk

#endif
