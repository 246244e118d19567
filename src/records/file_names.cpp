#include <cstring>

#include "file_chooser.h"

bool keepFileTitle(const std::string& chosen, char (&kept)[kFileTitleSize], std::string* error,
                   const char* defaultExtension)
{
    // The chooser should already give the bare name; a folder that slips
    // through would still point outside the working directory.
    const size_t slash = chosen.find_last_of('/');
    std::string title = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    if (title.empty()) {
        if (error)
            *error = "No se eligió ningún archivo.";
        return false;
    }
    if (title.find('.') == std::string::npos)
        title += defaultExtension;
    if (title.size() >= static_cast<size_t>(kFileTitleSize)) {
        if (error)
            *error = "El nombre del archivo \"" + title + "\" es demasiado largo: se admiten hasta " +
                     std::to_string(kFileTitleSize - 1) + " caracteres.";
        return false;
    }
    std::memcpy(kept, title.c_str(), title.size() + 1);
    return true;
}

std::string patternExtension(const char* filterPattern)
{
    const std::string pattern = filterPattern ? filterPattern : "";
    const size_t dot = pattern.rfind('.');
    if (dot == std::string::npos || pattern.find_first_of("*?[", dot) != std::string::npos)
        return {};
    return pattern.substr(dot + 1);
}
