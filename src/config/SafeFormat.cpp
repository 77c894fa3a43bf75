#include "config/SafeFormat.h"

#include <cstdio>
#include <cstring>

namespace {
bool isFlag(char c)
{
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
}

std::string safeFormat(const std::string& format, const std::vector<FormatArg>& args)
{
    std::string out;
    out.reserve(format.size() + 16);
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size();) {
        const char ch = format[i];
        if (ch != '%') {
            out += ch;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // %[flags][width][.precision]conversion, with small width and
        // precision so that no argument can make the output huge.
        std::size_t j = i + 1;
        while (j < format.size() && isFlag(format[j]))
            ++j;
        std::size_t digits = 0;
        while (j < format.size() && isDigit(format[j]) && digits < 3)
            ++j, ++digits;
        if (j < format.size() && format[j] == '.') {
            ++j;
            digits = 0;
            while (j < format.size() && isDigit(format[j]) && digits < 3)
                ++j, ++digits;
        }
        if (j >= format.size()) {
            out.append(format, i, std::string::npos);
            break;
        }
        const char conv = format[j];
        const std::string directive = format.substr(i, j - i);
        const std::string literal = format.substr(i, j - i + 1);
        i = j + 1;
        const FormatArg* arg = next < args.size() ? &args[next] : nullptr;
        char buf[512];
        if (std::strchr("diuxXc", conv) && arg && std::holds_alternative<std::int64_t>(*arg)) {
            const std::string f = directive + "ll" + conv;
            if (conv == 'c')
                std::snprintf(buf, sizeof buf, (directive + "c").c_str(), int(std::get<std::int64_t>(*arg)));
            else
                std::snprintf(buf, sizeof buf, f.c_str(), static_cast<long long>(std::get<std::int64_t>(*arg)));
            out += buf;
            ++next;
        } else if (std::strchr("feEgG", conv) && arg && std::holds_alternative<double>(*arg)) {
            std::snprintf(buf, sizeof buf, literal.c_str(), std::get<double>(*arg));
            out += buf;
            ++next;
        } else if (conv == 's' && arg && std::holds_alternative<std::string>(*arg)) {
            // Width and precision of texts are rarely meant; the text is
            // inserted whole.
            out += std::get<std::string>(*arg);
            ++next;
        } else {
            out += literal;
            if (arg && std::strchr("diuxXcfeEgGs", conv))
                ++next;
        }
    }
    return out;
}

std::string clockText(std::uint32_t seconds)
{
    char text[32];
    const unsigned h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        std::snprintf(text, sizeof text, "%u:%02u:%02u", h, m, s);
    else
        std::snprintf(text, sizeof text, "%u:%02u", m, s);
    return text;
}
