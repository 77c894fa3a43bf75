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

std::string CrossException::key() const
{
    return "error_" + std::to_string(code_);
}

std::string CrossException::messageText(const TextLookup* language) const
{
    const std::string k = key();
    // The key is "error_" and digits, so the default has no line break to expand.
    const std::string fallback = "Unknown error: " + k;
    if (!language)
        return fallback;
    return language->GetText(k, fallback);
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
