// One look's pause while a thread spins on a flag another thread sets. The
// build chooses the processor's way (warten_x86.cpp, warten_allgemein.cpp).
#ifndef QUIMBAR_WARTEN_H
#define QUIMBAR_WARTEN_H

void kurz_warten();

#endif
