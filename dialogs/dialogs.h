// The dialog procedures and the parsing of the parameter texts.
#ifndef QUIMBAR_DIALOGS_H
#define QUIMBAR_DIALOGS_H

#include <windows.h>

// Parameter input (templates IDD_INFO, IDD_INFO3, IDD_INFO4).
INT_PTR CALLBACK InfoDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// The Info box (template IDD_INFO2).
INT_PTR CALLBACK InfoProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// a, b from the texts of fields 101 and 102.
void hole_parameter();
// hole_parameter, then a2, b2 from the texts of fields 103 and 104.
void hole_parameter2();

#endif
