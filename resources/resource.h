// Numeric identifiers of Quimbar's resources, shared by the program's code
// and the resource script. Plain #defines only: the resource compiler reads
// this file too.

// Icon and dialog templates
#define IDI_ICON1 101
#define IDD_INFO 102
#define IDD_INFO2 103
#define IDD_INFO3 104
#define IDD_INFO4 105

// Edit fields of the parameter dialogs
#define IDC_EDIT1 101
#define IDC_EDIT2 102
#define IDC_EDIT3 103
#define IDC_EDIT4 104

// Menu commands (WM_COMMAND identifiers)
#define IDM_BEENDEN 203
#define IDM_MANDELBROT 204
#define IDM_JULIAMENGE 205
#define IDM_JULIASIN 206
#define IDM_INFO 207
#define IDM_JULIACOS 208
#define IDM_JULIASINX 209  // exchanged-sine variant; no menu item carries it
#define IDM_JULIAKUB 51682
#define IDM_NACH_OBEN 51683
#define IDM_VERGR_2 51684
#define IDM_NACH_LINKS 51685
#define IDM_NACH_RECHTS 51686
#define IDM_VERKL_2 51687
#define IDM_VERGR_3 51688
#define IDM_VERKL_3 51689
#define IDM_VERKL_5 51690
#define IDM_VERGR_5 51691
#define IDM_NACH_UNTEN 51692
