// rc-check: the build's check of a resource script. Parses the script with
// the layer's reader (files named in #include "..." are looked up beside it)
// and checks that every icon file it names exists and is an .ico. Faults are
// printed as "file:line: error: message" and end the tool with status 1, so
// a malformed script fails the build.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "rc_reader.h"

namespace {

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string directory_of(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rc-check FILE.rc\n");
        return 2;
    }
    const std::string path = argv[1];
    const std::string dir = directory_of(path);
    std::optional<std::string> text = read_file(path);
    if (!text) {
        std::fprintf(stderr, "%s: error: cannot read the file\n", path.c_str());
        return 1;
    }
    try {
        layer::Resources res = layer::parse_rc(*text, path, [&](std::string_view name) {
            return read_file(dir + std::string(name));
        });
        for (const layer::IconResource& icon : res.icons) {
            std::optional<std::string> bytes = read_file(dir + icon.file);
            if (!bytes || bytes->size() < 6 || bytes->compare(0, 4, std::string("\0\0\1\0", 4)) != 0) {
                std::fprintf(stderr, "%s:%d: error: icon file '%s' is missing or not an .ico file\n", path.c_str(),
                             icon.line, icon.file.c_str());
                return 1;
            }
        }
    } catch (const layer::RcError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
