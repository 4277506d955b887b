// Modal dialogs from the program's templates: DialogBoxParamA builds the
// dialog and its controls, disables the owner and runs a nested message loop
// until the dialog procedure calls EndDialog.
#include <algorithm>
#include <cstring>

#include "core.h"

namespace layer {

namespace {

int mul_div(int value, int numerator, int denominator) {
    long long p = static_cast<long long>(value) * numerator;
    // Round half away from zero, as Win32's MulDiv does.
    return static_cast<int>(p >= 0 ? (p + denominator / 2) / denominator : (p - denominator / 2) / denominator);
}

// The reader spells the predefined classes as Win32 registers them.
ControlKind kind_of(const std::string& c) {
    return c == "Button" ? ControlKind::button : c == "Edit" ? ControlKind::edit
           : c == "Static" ? ControlKind::label : ControlKind::other;
}

bool tab_stop(const Wnd* c) {
    return (c->style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE);
}

// Win32's GetNextDlgTabItem: the next (or previous) tab stop after `from` (or
// the first/last), round the end; `from` when there is no other, else null.
Wnd* next_tab_item(Wnd* dlg, Wnd* from, bool previous) {
    const std::vector<Wnd*>& c = dlg->controls;
    int n = static_cast<int>(c.size()), i = static_cast<int>(std::find(c.begin(), c.end(), from) - c.begin());
    if (i == n) i = previous ? 0 : n - 1;
    for (int step = 1; step <= n; ++step)
        if (Wnd* next = c[(i + (previous ? n - step : step)) % n]; tab_stop(next)) return next;
    return nullptr;
}

void focus(Wnd* dlg, Wnd* control) {
    if (!control) return;
    dlg->focus = control;
    backend().set_focus(control);
}

Wnd* build_dialog(const DialogTemplate& t, Wnd* owner, DLGPROC proc) {
    auto d = std::make_unique<Wnd>();
    d->kind = WindowKind::dialog;
    d->dlgproc = proc;
    d->dialog_template = &t;
    d->owner = owner ? owner->handle : nullptr;
    d->style = t.style;
    d->exstyle = t.exstyle;
    d->text = t.caption;

    POINT units = dialog_base_units(t.font_size);
    d->client_width = mul_div(t.cx, units.x, 4);
    d->client_height = mul_div(t.cy, units.y, 8);
    // Without DS_CENTER or DS_ABSALIGN the template's position is relative to
    // the owner's client area: the dialog's client area lands there, and its
    // frame and caption reach up and left beyond it.
    POINT origin = owner ? owner->client_origin : POINT{0, 0};
    int left = origin.x + mul_div(t.x, units.x, 4);
    int top = origin.y + mul_div(t.y, units.y, 8);
    d->client_origin = POINT{left, top};
    d->window_rect = outer_rect(RECT{left, top, left + d->client_width, top + d->client_height}, t.style,
                                       t.exstyle);

    Wnd* dlg = adopt(std::move(d));
    for (const DialogControl& c : t.controls) {
        auto w = std::make_unique<Wnd>();
        w->kind = WindowKind::control;
        w->control_kind = kind_of(c.window_class);
        w->id = c.id;
        w->parent = dlg;
        w->style = c.style;
        w->exstyle = c.exstyle;
        w->text = c.text;
        w->rect = RECT{mul_div(c.x, units.x, 4), mul_div(c.y, units.y, 8), mul_div(c.x + c.cx, units.x, 4),
                       mul_div(c.y + c.cy, units.y, 8)};
        dlg->controls.push_back(adopt(std::move(w)));
    }
    return dlg;
}

void enable(Wnd* w, bool enabled) {
    w->enabled = enabled;
    backend().enable_window(w, enabled);
}

void destroy_dialog(Wnd* dlg) {
    backend().destroy_dialog(dlg);
    auto& open = state().dialogs;
    open.erase(std::remove(open.begin(), open.end(), dlg), open.end());
    for (Wnd* c : dlg->controls) bury(c);
    bury(dlg);
}

// Win32's GetNextDlgGroupItem: the group of `from` runs from the nearest
// control with WS_GROUP at or before it (round the end of the list; the
// whole list when none has it) to the next one; the next (or previous)
// visible, enabled control round the group, else `from`. Statics count.
Wnd* next_group_item(Wnd* dlg, Wnd* from, bool previous) {
    const std::vector<Wnd*>& c = dlg->controls;
    int n = static_cast<int>(c.size()), i = static_cast<int>(std::find(c.begin(), c.end(), from) - c.begin());
    int start = i;
    while (!(c[start]->style & WS_GROUP) && (start = (start + n - 1) % n) != i) {}
    std::vector<Wnd*> group{c[start]};
    for (int k = (start + 1) % n; k != start && !(c[k]->style & WS_GROUP); k = (k + 1) % n) group.push_back(c[k]);
    int m = static_cast<int>(group.size());
    int at = static_cast<int>(std::find(group.begin(), group.end(), from) - group.begin());
    for (int step = 1; step < m; ++step) {
        Wnd* next = group[(at + (previous ? m - step : step)) % m];
        if ((next->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE) return next;
    }
    return from;
}

}  // namespace

bool dialog_key(Wnd* dlg, int virtual_key, bool shift) {
    if (!dlg || dlg->kind != WindowKind::dialog) return false;
    Wnd* from = dlg->focus = backend().focused_control(dlg);
    if (from && from->parent != dlg) from = dlg->focus = nullptr;
    switch (virtual_key) {
    case VK_RETURN:
        dialog_command(dlg, from && from->control_kind == ControlKind::button ? from->id : IDOK);
        return true;
    case VK_ESCAPE:
        dialog_command(dlg, IDCANCEL);
        return true;
    case VK_TAB:
        focus(dlg, next_tab_item(dlg, from, shift));
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (!from || from->control_kind == ControlKind::edit) return false;
        focus(dlg, next_group_item(dlg, from, virtual_key == VK_LEFT || virtual_key == VK_UP));
        return true;
    default:
        return false;
    }
}

LRESULT dialog_window_proc(Wnd* dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND h = dlg->handle;
    if (dlg->dlgproc && dlg->dlgproc(h, message, wParam, lParam)) return TRUE;
    // Left to default handling: the close box means Abbruch.
    if (message != WM_CLOSE) return DefWindowProcA(h, message, wParam, lParam);
    Wnd* cancel = dialog_item(dlg, IDCANCEL);
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel ? cancel->handle : nullptr));
    return 0;
}

}  // namespace layer

using namespace layer;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM initParam) {
    const DialogTemplate* t = program_resources().find_dialog(templateName);
    if (!t) return -1;
    Wnd* dlg = build_dialog(*t, wnd(owner), proc);
    backend().create_dialog(dlg);
    state().dialogs.push_back(dlg);

    // The owner takes no input while its dialog is open.
    bool owner_was_enabled = wnd(owner) && wnd(owner)->enabled;
    if (owner_was_enabled) enable(wnd(owner), false);

    Wnd* first = next_tab_item(dlg, nullptr, false);
    WPARAM first_handle = reinterpret_cast<WPARAM>(first ? first->handle : nullptr);
    if (SendMessageA(dlg->handle, WM_INITDIALOG, first_handle, initParam) && !dlg->dialog_ended) focus(dlg, first);

    while (!dlg->dialog_ended) {
        MSG msg;
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            // The quit message ends the dialog and is passed on to the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    // Re-enable before the dialog goes, so the owner gets the focus back.
    if (owner_was_enabled && wnd(owner)) enable(wnd(owner), true);
    INT_PTR result = dlg->dialog_result;
    destroy_dialog(dlg);
    return result;
}

BOOL WINAPI EndDialog(HWND h, INT_PTR result) {
    Wnd* dlg = wnd(h);
    if (!dlg || dlg->kind != WindowKind::dialog) return FALSE;
    dlg->dialog_ended = true;
    dlg->dialog_result = result;
    return TRUE;
}

// Without such a control the text is empty.
UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR text, int maxCount) {
    if (!text || maxCount <= 0) return 0;
    Wnd* control = dialog_item(wnd(dlg), id);
    std::string s = control ? backend().control_text(control) : std::string();
    size_t n = std::min(s.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(text, s.data(), n);
    text[n] = '\0';
    return static_cast<UINT>(n);
}
