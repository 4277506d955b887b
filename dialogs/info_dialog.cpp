#include "dialogs.h"

INT_PTR CALLBACK InfoProc(HWND hDlg, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        // OK, Escape and the close box all close the box.
        EndDialog(hDlg, 0);
        return TRUE;
    }
    return FALSE;
}
