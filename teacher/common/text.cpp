#include "text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string htmlEscape(std::string_view text)
{
    std::string out;
    appendEscaped(out, text);
    return out;
}

void appendEscaped(std::string& out, std::string_view text)
{
    out.reserve(out.size() + text.size());
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
}

void appendNumber(std::string& out, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

std::string csvField(std::string_view text)
{
    std::string field;
    appendCsvField(field, text);
    return field;
}

void appendCsvField(std::string& out, std::string_view text)
{
    const bool formula = !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@');
    const bool quoted = text.find_first_of(",;\"\r\n") != std::string_view::npos;
    if (quoted)
        out += '"';
    if (formula)
        out += '\'';
    for (char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    if (quoted)
        out += '"';
}

std::string fixed(double value, int digits)
{
    if (!std::isfinite(value))
        return "";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}
