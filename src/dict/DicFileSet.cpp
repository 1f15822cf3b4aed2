#include "dict/DicFileSet.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tovix {
namespace {

std::filesystem::path WithExtension(const std::filesystem::path& dicFile, const char* extension) {
    std::filesystem::path name = dicFile;
    name.replace_extension(extension);
    return name;
}

}  // namespace

std::filesystem::path PartFileName(const std::filesystem::path& dicFile, int part) {
    if (part < 1 || part > 999) {
        throw std::out_of_range("part number " + std::to_string(part) + " has no part file");
    }
    char extension[8];
    std::snprintf(extension, sizeof extension, ".%03d", part);
    return WithExtension(dicFile, extension);
}

std::filesystem::path TableFileName(const std::filesystem::path& dicFile) {
    return WithExtension(dicFile, ".DAT");
}

std::filesystem::path GlobalTableFileName(const std::filesystem::path& dicFile) {
    return WithExtension(dicFile, ".TBL");
}

}  // namespace tovix
