#include "file_chooser.h"

bool keepChosenFile(const std::string& chosen, std::string& kept, std::string* error,
                    const char* defaultExtension)
{
    const size_t slash = chosen.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : chosen.substr(0, slash + 1);
    std::string title = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    if (title.empty()) {
        if (error)
            *error = "No se eligió ningún archivo.";
        return false;
    }
    if (title.find('.') == std::string::npos)
        title += defaultExtension;
    if (title.size() > kMaxFileTitle) {
        if (error)
            *error = "El nombre del archivo \"" + title + "\" es demasiado largo: se admiten hasta " +
                     std::to_string(kMaxFileTitle) + " caracteres.";
        return false;
    }
    if (folder.size() + title.size() > kMaxFilePath) {
        if (error)
            *error = "La carpeta del archivo \"" + title + "\" es demasiado larga: se admiten hasta " +
                     std::to_string(kMaxFilePath) + " caracteres en todo el camino.";
        return false;
    }
    kept = folder + title;
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
