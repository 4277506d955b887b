// The pass the selector j chooses, run on a paint device context.
#ifndef QUIMBAR_PAINT_DISPATCH_H
#define QUIMBAR_PAINT_DISPATCH_H

#include <windows.h>

void zeichne_fraktal(HDC hdc);

// The same with the plain per-pixel pass of the family: the reference the
// fast passes are checked and measured against.
void zeichne_fraktal_einfach(HDC hdc);

#endif
