#include "commands.h"

#include "dialogs.h"
#include "resource.h"
#include "view_state.h"

namespace {

void neu_zeichnen() { InvalidateRect(hwnd7, nullptr, TRUE); }

// A family starts from the default view with its own zoom; the reset stays
// even when the parameter dialog is cancelled.
void waehle_familie(int familie, int variante, double start_zoom) {
    j = familie;
    j2 = variante;
    zoom = start_zoom;
    links = 0;
    oben = 0;
}

void frage_parameter(HWND hwnd, int vorlage) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(vorlage), hwnd, InfoDialogProc, 0);
}

// Half a plane unit at zoom 1, from the zoom before any change.
double schritt() { return 0.5 / zoom; }

}  // namespace

void befehl(HWND hwnd, int id) {
    switch (id) {
    case IDM_MANDELBROT:
        waehle_familie(1, j2, 1.0);
        break;
    case IDM_JULIAMENGE:
        waehle_familie(2, j2, 1.0);
        frage_parameter(hwnd, IDD_INFO4);
        break;
    case IDM_JULIASIN:
        waehle_familie(3, 0, 0.333);
        frage_parameter(hwnd, IDD_INFO);
        break;
    case IDM_JULIACOS:
        waehle_familie(3, 2, 0.333);
        frage_parameter(hwnd, IDD_INFO);
        break;
    case IDM_JULIASINX:
        waehle_familie(3, 1, 1.0);
        frage_parameter(hwnd, IDD_INFO);
        break;
    case IDM_JULIAKUB:
        waehle_familie(4, j2, 1.0);
        frage_parameter(hwnd, IDD_INFO3);
        break;
    case IDM_VERGR_2:
        zoom = zoom * 2;
        break;
    case IDM_VERGR_3:
        zoom = zoom * 3;
        break;
    case IDM_VERGR_5:
        zoom = zoom * 5;
        break;
    case IDM_VERKL_2:
        zoom = zoom * 0.5;
        break;
    case IDM_VERKL_3:
        zoom = zoom * (1.0 / 3);
        break;
    case IDM_VERKL_5:
        zoom = zoom * 0.2;
        break;
    case IDM_NACH_LINKS:
        links = links - schritt();
        break;
    case IDM_NACH_RECHTS:
        links = links + schritt();
        break;
    case IDM_NACH_OBEN:
        oben = oben - schritt();
        break;
    case IDM_NACH_UNTEN:
        oben = oben + schritt();
        break;
    case IDM_BEENDEN:
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return;
    case IDM_INFO:
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INFO2), hwnd, InfoProc, 0);
        return;
    default:
        return;
    }
    neu_zeichnen();
}

void taste_losgelassen(int virtual_key) {
    switch (virtual_key) {
    case VK_LEFT:
        befehl(hwnd7, IDM_NACH_LINKS);
        break;
    case VK_RIGHT:
        befehl(hwnd7, IDM_NACH_RECHTS);
        break;
    case VK_UP:
        befehl(hwnd7, IDM_NACH_OBEN);
        break;
    case VK_DOWN:
        befehl(hwnd7, IDM_NACH_UNTEN);
        break;
    case VK_ADD:
        befehl(hwnd7, IDM_VERGR_2);
        break;
    case VK_SUBTRACT:
        befehl(hwnd7, IDM_VERKL_2);
        break;
    }
}
