// Reads a compiled resource file (.res, as GNU windres writes it) back into
// the reader's data model, so tests can check that the Linux layer sees the
// same menus, dialog templates and icons as the Windows build.
#ifndef QUIMBAR_TESTS_RES_FILE_H
#define QUIMBAR_TESTS_RES_FILE_H

#include <string_view>

#include "rc_reader.h"

// Throws std::runtime_error on a malformed or truncated file. Icons are
// listed by the names of their icon groups, with an empty file name.
layer::Resources read_res_file(std::string_view bytes);

#endif
