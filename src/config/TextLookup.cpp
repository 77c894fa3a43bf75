#include "config/TextLookup.h"

namespace {
const TextLookup* g_current = nullptr;
}

const TextLookup* TextLookup::current() { return g_current; }
void TextLookup::setCurrent(const TextLookup* lookup) { g_current = lookup; }
