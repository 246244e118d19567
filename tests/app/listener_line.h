#pragma once
#include <poll.h>
#include <unistd.h>

#include <string>

// Takes what the screen-reader listener has written on standard input, a
// line at a time, without waiting: false while it has said nothing yet.
inline bool readListenerLine(std::string& line)
{
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (::poll(&in, 1, 0) <= 0)
        return false;
    for (char c = 0; ::read(STDIN_FILENO, &c, 1) == 1 && c != '\n';)
        line += c;
    return true;
}
