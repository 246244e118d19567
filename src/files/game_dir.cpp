#include "game_dir.h"

std::string GameDir::file(const std::string& name) const
{
    if (root_.empty() || name.empty() || name.front() == '/')
        return name;
    return (root_ / name).string();
}
