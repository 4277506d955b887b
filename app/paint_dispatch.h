// The pass the selector j chooses, run on a paint device context.
#ifndef QUIMBAR_PAINT_DISPATCH_H
#define QUIMBAR_PAINT_DISPATCH_H

#include <windows.h>

void zeichne_fraktal(HDC hdc);

#endif
