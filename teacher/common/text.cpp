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
    // The text between markup characters goes in whole: a page is made of
    // hundreds of thousands of characters, and hardly any is markup.
    for (size_t from = 0;;) {
        const size_t at = text.find_first_of("&<>\"'", from);
        out.append(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos)
            return;
        switch (text[at]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += "&#39;";
        }
        from = at + 1;
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
