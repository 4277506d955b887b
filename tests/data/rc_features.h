// Symbols for rc_features.rc: guarded, with comments, expressions and text
// that only the C compiler would read.
#ifndef RC_FEATURES_H
#define RC_FEATURES_H

#define FEATURE_A
#define FEATURE_LEVEL 2

#define ID_A 1001 /* a block comment
                     over two lines */
#define ID_B (ID_A + 1)
#define ID_C 0x3F0
#define ID_BASE 500

#define BUTTON_STYLE (WS_TABSTOP | BS_CENTER)

extern int not_for_the_resource_compiler;

#endif
