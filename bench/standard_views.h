// The standard views the benchmarks measure: one per family at the zoom
// its command sets, with the start-up values and the dialog defaults.
#ifndef QUIMBAR_BENCH_STANDARD_VIEWS_H
#define QUIMBAR_BENCH_STANDARD_VIEWS_H

struct Standardansicht {
    const char* name;
    int j, j2;
    double a, b, a2, b2, zoom;
};

inline constexpr Standardansicht STANDARDANSICHTEN[] = {
    {"StartUpJulia", 2, 0, 0.36, 0.46, 0, 0, 1},
    {"Mandelbrot", 1, 0, 0.36, 0.46, 0, 0, 1},
    {"JuliaDialogDefault", 2, 0, 0.313, 0.4172, 0, 0, 1},
    {"CubicDialogDefault", 4, 0, 0, 0, -0.574, 0.271, 1},
    {"CubicStartUpValues", 4, 0, 0.36, 0.46, 0, 0, 1},
    {"Sine", 3, 0, 0.7, 0.8, 0, 0, 0.333},
    {"Cosine", 3, 2, 0.7, 0.8, 0, 0, 0.333},
    {"ExchangedSine", 3, 1, 0.7, 0.8, 0, 0, 1},
};

#endif
