// The vector kernels of x86-64, built on x86 only. The AVX2 and AVX-512
// kernels may only run where avx2_vorhanden() and avx512_vorhanden() hold;
// SSE2 is part of every x86-64.
#ifndef QUIMBAR_KERNE_X86_H
#define QUIMBAR_KERNE_X86_H

#include "kerne/zeilen.h"

namespace kerne {

// Polynomial families only.
void zeile_sse2(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler);
void zeile_avx2(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler);
void zeile_avx512(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler);

bool avx2_vorhanden();
bool avx512_vorhanden();

}  // namespace kerne

#endif
