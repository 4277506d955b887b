// The program's compiled resources (quimbar.res, built by windres from
// resources/quimbar.rc), built into the layer so that the program reads no
// files at run time.
#ifndef QUIMBAR_LAYER_EMBEDDED_RESOURCES_H
#define QUIMBAR_LAYER_EMBEDDED_RESOURCES_H

#include <optional>
#include <string_view>

#include "res_reader.h"

namespace layer {

// The bytes of an embedded file by its base name ("quimbar.res"); nullopt
// for any other name.
std::optional<std::string_view> embedded_file(std::string_view name);

// The embedded resources, read on first use. A read error cannot happen in
// a built program (the build compiles the resources), but if it does, it is
// printed to standard error and the process exits with status 3.
const Resources& program_resources();

}  // namespace layer

#endif
