#include "config/CrossException.h"

#include "config/TextLookup.h"

#include <cstdio>
#include <utility>

namespace {
CrossException::Display& display()
{
    static CrossException::Display d;
    return d;
}
}

CrossException::CrossException(int code)
    : code_(code), what_("CrossException " + std::to_string(code))
{
}

CrossException::CrossException(int code, std::string detail)
    : code_(code), detail_(std::move(detail)), what_("CrossException " + std::to_string(code))
{
    if (!detail_.empty())
        what_ += ": " + detail_;
}

std::string CrossException::key() const
{
    return "error_" + std::to_string(code_);
}

std::string CrossException::messageText(const TextLookup* language) const
{
    const std::string k = key();
    // The key is "error_" and digits, so the default has no line break to expand.
    const std::string fallback = "Unknown error: " + k;
    std::string text = language ? language->GetText(k, fallback) : fallback;
    if (!detail_.empty())
        text += "\n\n" + detail_;
    return text;
}

void CrossException::Show() const
{
    const std::string text = messageText(TextLookup::current());
    if (display())
        display()(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

void CrossException::setDisplay(Display d)
{
    display() = std::move(d);
}
