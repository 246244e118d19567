#include "text.h"

#include <cmath>
#include <cstdio>

std::string htmlEscape(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string csvField(std::string_view text)
{
    std::string field(text);
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' || field[0] == '@'))
        field = "'" + field;
    if (field.find_first_of(",;\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char ch : field) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

std::string fixed(double value, int digits)
{
    if (!std::isfinite(value))
        return "";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}
