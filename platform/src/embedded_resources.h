// The program's resource files, built into the layer so that the program
// reads no files at run time: the resource script, the header it includes
// and the icon.
#ifndef QUIMBAR_LAYER_EMBEDDED_RESOURCES_H
#define QUIMBAR_LAYER_EMBEDDED_RESOURCES_H

#include <optional>
#include <string_view>

#include "rc_reader.h"

namespace layer {

// The bytes of an embedded file by its base name ("quimbar.rc",
// "resource.h", "quimbar.ico"); nullopt for any other name.
std::optional<std::string_view> embedded_file(std::string_view name);

// The embedded resource script, parsed on first use. A parse error cannot
// happen in a built program (the build checks the script), but if it does,
// it is printed to standard error and the process exits with status 3.
const Resources& program_resources();

}  // namespace layer

#endif
