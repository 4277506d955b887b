#include "view_state.h"

double zoom = 1.0;
double links = 0.0;
double oben = 0.0;
double a = 0.36;
double b = 0.46;
double a2 = 0.0;
double b2 = 0.0;
int j = 2;
int j2 = 0;
int i = 20;

char zeiger[TEXTPUFFER];
char zeiger2[TEXTPUFFER];
char zeiger3[TEXTPUFFER];
char zeiger4[TEXTPUFFER];

HWND hwnd7 = nullptr;
int pixelwidth = 0;
int pixelheight = 0;

double red = 0.0;
double green = 0.0;
double blue = 0.0;
long farbe = 0;
double q = 0.0;
