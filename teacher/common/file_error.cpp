#include "file_error.h"

#include "regular_file.h"

std::string describeError(const std::error_code& error)
{
    if (error.category() == std::generic_category() || error.category() == std::system_category())
        return describeFileError(error.value());
    return "error número " + std::to_string(error.value());
}
