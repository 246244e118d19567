#include "output_file.h"

#include <cstdio>
#include <sys/stat.h>

#include "regular_file.h"
#include "safe_file.h"

std::string outputRefusal(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return {};
    const std::string what = S_ISLNK(info.st_mode) ? "es un enlace simbólico, no un archivo"
                                                    : describeNotRegular(info.st_mode);
    return "No se escribió \"" + path + "\": " + what + ".";
}

bool writeOutputFile(const std::string& path, std::string_view text, std::string& error)
{
    error = outputRefusal(path);
    if (!error.empty())
        return false;
    SafeFileWriter writer;
    if (!writer.open(path, &error))
        return false;
    // A short write leaves the stream's error set: commit then names the
    // reason and puts nothing in place.
    const bool whole = std::fwrite(text.data(), 1, text.size(), writer.stream()) == text.size();
    return writer.commit(&error) && whole;
}
