#include "config/CrossException.h"

#include "config/Localization.h"

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

std::string CrossException::messageText(const Localization* language) const
{
    const std::string k = key();
    const std::string fallback = "Unknown error: " + k;
    if (!language)
        return Localization::expandLineBreaks(fallback);
    return language->GetText(k, fallback);
}

void CrossException::Show() const
{
    const std::string text = messageText(Localization::global());
    if (display())
        display()(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

void CrossException::setDisplay(Display d)
{
    display() = std::move(d);
}
