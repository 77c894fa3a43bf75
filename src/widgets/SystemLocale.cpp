#include "widgets/SystemLocale.h"

#include "config/CodePage.h"

#include <utility>

namespace systemlocale {
namespace {

struct LanguageId {
    QLocale::Language language;
    unsigned id;
};

constexpr LanguageId kIds[] = {
    {QLocale::Arabic, 0x01},      {QLocale::Bulgarian, 0x02},   {QLocale::Catalan, 0x03},
    {QLocale::Chinese, 0x04},     {QLocale::Czech, 0x05},       {QLocale::Danish, 0x06},
    {QLocale::German, 0x07},      {QLocale::Greek, 0x08},       {QLocale::English, 0x09},
    {QLocale::Spanish, 0x0A},     {QLocale::Finnish, 0x0B},     {QLocale::French, 0x0C},
    {QLocale::Hebrew, 0x0D},      {QLocale::Hungarian, 0x0E},   {QLocale::Icelandic, 0x0F},
    {QLocale::Italian, 0x10},     {QLocale::Japanese, 0x11},    {QLocale::Korean, 0x12},
    {QLocale::Dutch, 0x13},       {QLocale::NorwegianBokmal, 0x14}, {QLocale::NorwegianNynorsk, 0x14},
    {QLocale::Polish, 0x15},      {QLocale::Portuguese, 0x16},  {QLocale::Romansh, 0x17},
    {QLocale::Romanian, 0x18},    {QLocale::Russian, 0x19},     {QLocale::Croatian, 0x1A},
    {QLocale::Serbian, 0x1A},     {QLocale::Bosnian, 0x1A},     {QLocale::Slovak, 0x1B},
    {QLocale::Albanian, 0x1C},    {QLocale::Swedish, 0x1D},     {QLocale::Thai, 0x1E},
    {QLocale::Turkish, 0x1F},     {QLocale::Urdu, 0x20},        {QLocale::Indonesian, 0x21},
    {QLocale::Ukrainian, 0x22},   {QLocale::Belarusian, 0x23},  {QLocale::Slovenian, 0x24},
    {QLocale::Estonian, 0x25},    {QLocale::Latvian, 0x26},     {QLocale::Lithuanian, 0x27},
    {QLocale::Tajik, 0x28},       {QLocale::Persian, 0x29},     {QLocale::Vietnamese, 0x2A},
    {QLocale::Armenian, 0x2B},    {QLocale::Azerbaijani, 0x2C}, {QLocale::Basque, 0x2D},
    {QLocale::UpperSorbian, 0x2E}, {QLocale::LowerSorbian, 0x2E}, {QLocale::Macedonian, 0x2F},
    {QLocale::Tswana, 0x32},      {QLocale::Xhosa, 0x34},       {QLocale::Zulu, 0x35},
    {QLocale::Afrikaans, 0x36},   {QLocale::Georgian, 0x37},    {QLocale::Faroese, 0x38},
    {QLocale::Hindi, 0x39},       {QLocale::Maltese, 0x3A},     {QLocale::NorthernSami, 0x3B},
    {QLocale::Irish, 0x3C},       {QLocale::Malay, 0x3E},       {QLocale::Kazakh, 0x3F},
    {QLocale::Kyrgyz, 0x40},      {QLocale::Swahili, 0x41},     {QLocale::Turkmen, 0x42},
    {QLocale::Uzbek, 0x43},       {QLocale::Tatar, 0x44},       {QLocale::Bengali, 0x45},
    {QLocale::Punjabi, 0x46},     {QLocale::Gujarati, 0x47},    {QLocale::Odia, 0x48},
    {QLocale::Tamil, 0x49},       {QLocale::Telugu, 0x4A},      {QLocale::Kannada, 0x4B},
    {QLocale::Malayalam, 0x4C},   {QLocale::Assamese, 0x4D},    {QLocale::Marathi, 0x4E},
    {QLocale::Sanskrit, 0x4F},    {QLocale::Mongolian, 0x50},   {QLocale::Tibetan, 0x51},
    {QLocale::Welsh, 0x52},       {QLocale::Khmer, 0x53},       {QLocale::Lao, 0x54},
    {QLocale::Galician, 0x56},    {QLocale::Konkani, 0x57},     {QLocale::Manipuri, 0x58},
    {QLocale::Sindhi, 0x59},      {QLocale::Syriac, 0x5A},      {QLocale::Sinhala, 0x5B},
    {QLocale::Amharic, 0x5E},     {QLocale::Kashmiri, 0x60},    {QLocale::Nepali, 0x61},
    {QLocale::WesternFrisian, 0x62}, {QLocale::Pashto, 0x63},   {QLocale::Filipino, 0x64},
    {QLocale::Divehi, 0x65},      {QLocale::Hausa, 0x68},       {QLocale::Yoruba, 0x6A},
    {QLocale::Igbo, 0x70},        {QLocale::Kinyarwanda, 0x87}, {QLocale::Wolof, 0x88},
};

}  // namespace

unsigned primaryLanguageId(const QLocale& locale)
{
    for (const LanguageId& entry : kIds)
        if (entry.language == locale.language())
            return entry.id;
    return 0;
}

int codePage(const QLocale& locale)
{
    codepage::Script script = codepage::Script::Default;
    if (locale.script() == QLocale::CyrillicScript)
        script = codepage::Script::Cyrillic;
    else if (locale.script() == QLocale::LatinScript)
        script = codepage::Script::Latin;
    return codepage::forLocale(primaryLanguageId(locale), script);
}

}  // namespace systemlocale
