#include "dezimalzahl.h"
#include "dialogs.h"
#include "resource.h"
#include "view_state.h"

namespace {

// Each read is bounded by its buffer: at most 14 characters and the
// terminator, whatever the field holds.
void lies_felder(HWND hDlg) {
    GetDlgItemTextA(hDlg, IDC_EDIT1, zeiger, sizeof zeiger);
    GetDlgItemTextA(hDlg, IDC_EDIT2, zeiger2, sizeof zeiger2);
    if (j == 4) {
        GetDlgItemTextA(hDlg, IDC_EDIT3, zeiger3, sizeof zeiger3);
        GetDlgItemTextA(hDlg, IDC_EDIT4, zeiger4, sizeof zeiger4);
        hole_parameter2();
    } else {
        hole_parameter();
    }
}

}  // namespace

void hole_parameter() {
    a = dezimalzahl(zeiger);
    b = dezimalzahl(zeiger2);
}

void hole_parameter2() {
    hole_parameter();
    a2 = dezimalzahl(zeiger3);
    b2 = dezimalzahl(zeiger4);
}

INT_PTR CALLBACK InfoDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;  // the focus goes to the first tab stop, OK
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            lies_felder(hDlg);
            EndDialog(hDlg, 0);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
