#include "text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
// What Windows-1252 puts at 0x80..0x9F; 0 where it has nothing.
constexpr char16_t kHigh[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool validUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size() || (n == 2 && b < 0xC2))
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}
}

std::string utf8FromGameText(std::string_view bytes)
{
    if (validUtf8(bytes))
        return std::string(bytes);
    std::string out;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kHigh[b - 0x80] ? kHigh[b - 0x80] : 0xFFFD);
        else
            appendUtf8(out, b);
    }
    return out;
}

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
