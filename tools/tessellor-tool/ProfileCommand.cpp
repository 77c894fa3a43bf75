// "profile": what a player's profile file holds, as text or JSON.
#include "Command.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/SafeFormat.h"
#include "profile/ProfileFile.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Profile texts are 8-bit in the code page; JSON wants UTF-8.
std::string jsonString(const std::string& ansi)
{
    std::string out = "\"";
    for (unsigned char c : codepage::toUtf8(ansi)) {
        if (c == '"' || c == '\\') { out += '\\'; out += char(c); }
        else if (c < 0x20) { char buf[8]; std::snprintf(buf, sizeof buf, "\\u%04x", c); out += buf; }
        else out += char(c);
    }
    return out + "\"";
}

// A colour index as one character: 0-9, then a-i for 10..18. Stored values
// past the palette are shown as the program shows them, white (0).
char colourChar(int index)
{
    if (index < 0 || index > 18) return '0';
    return index < 10 ? char('0' + index) : char('a' + index - 10);
}

template <typename F>
std::string lines(int outer, int inner, F value)
{
    std::string out = "[";
    for (int i = 0; i < outer; ++i) {
        std::string s;
        for (int j = 0; j < inner; ++j) s += value(i, j);
        if (i) out += ',';
        out += jsonString(s);
    }
    return out + "]";
}

void printJson(const ProfileData& d)
{
    std::ostringstream o;
    o << "{\"solved\":[";
    for (std::size_t i = 0; i < d.solved().size(); ++i) o << (i ? "," : "") << jsonString(d.solved()[i]);
    o << "],\"language\":" << (d.languages.empty() ? "null" : jsonString(d.languages.back()));
    o << ",\"preview\":" << (d.preview ? (*d.preview ? "true" : "false") : "null");
    o << ",\"size\":";
    if (d.cellSize) o << *d.cellSize; else o << "null";
    o << ",\"autoMark\":" << (d.autoMark ? "true" : "false");
    o << ",\"showHover\":" << (d.showHover ? "true" : "false");
    o << ",\"current\":" << d.current << ",\"states\":[";
    bool first = true;
    for (const CrossState& e : d.states()) {
        o << (first ? "" : ",") << "{\"id\":" << jsonString(e.id()) << ",\"width\":" << e.width()
          << ",\"height\":" << e.height() << ",\"columnClues\":" << e.columnClueCount()
          << ",\"rowClues\":" << e.rowClueCount();
        o << ",\"cells\":" << lines(e.width(), e.height(), [&](int c, int r) { return char('0' + e.cellState(c, r)); });
        o << ",\"colours\":" << lines(e.width(), e.height(), [&](int c, int r) { return colourChar(e.cellColour(c, r)); });
        o << ",\"leftMarks\":" << lines(e.rowClueCount(), e.height(), [&](int s, int r) { return char('0' + e.leftMark(s, r)); });
        o << ",\"topMarks\":" << lines(e.width(), e.columnClueCount(), [&](int c, int s) { return char('0' + e.topMark(c, s)); });
        const auto time = d.playSeconds.find(e.id());
        o << ",\"seconds\":" << (time == d.playSeconds.end() ? 0u : time->second);
        o << "}";
        first = false;
    }
    o << "],\"lineHelp\":" << (d.lineHelp ? "true" : "false");
    o << ",\"liveMistakes\":" << (d.liveMistakes ? "true" : "false");
    o << ",\"window\":";
    if (d.window)
        o << "{\"x\":" << d.window->x << ",\"y\":" << d.window->y << ",\"width\":" << d.window->width
          << ",\"height\":" << d.window->height << ",\"maximised\":" << (d.window->maximised ? "true" : "false") << "}";
    else
        o << "null";
    o << "}\n";
    std::cout << o.str();
}

void printText(const ProfileData& d)
{
    std::cout << "language: " << (d.languages.empty() ? "(none)" : codepage::toUtf8(d.languages.back())) << "\n"
              << "preview: " << (d.preview ? (*d.preview ? "shown" : "hidden") : "(not stored)") << "\n"
              << "cell size: " << (d.cellSize ? std::to_string(*d.cellSize) : "(not stored)") << "\n"
              << "auto-marking: " << (d.autoMark ? "on" : "off") << "\n"
              << "hover highlight: " << (d.showHover ? "on" : "off") << "\n"
              << "mistakes as they happen: " << (d.liveMistakes ? "on" : "off") << "\n"
              << "line help: " << (d.lineHelp ? "on" : "off") << "\n"
              << "current entry: " << d.current << "\n"
              << "solved (" << d.solved().size() << "):\n";
    for (const std::string& id : d.solved()) std::cout << "  " << codepage::toUtf8(id) << "\n";
    std::cout << "saved progress (" << d.states().size() << "):\n";
    for (const CrossState& e : d.states()) {
        std::cout << "  " << codepage::toUtf8(e.id()) << "  " << e.width() << " x " << e.height() << ", clue slots "
                  << e.rowClueCount() << " left, " << e.columnClueCount() << " above";
        const auto time = d.playSeconds.find(e.id());
        if (time != d.playSeconds.end())
            std::cout << ", time " << clockText(time->second);
        std::cout << "\n";
    }
    if (d.window)
        std::cout << "window: " << d.window->width << " x " << d.window->height << " at " << d.window->x << ", "
                  << d.window->y << (d.window->maximised ? ", maximised" : "") << "\n";
}

int run(const std::vector<std::string>& args)
{
    bool json = false;
    std::vector<std::string> files;
    for (const auto& a : args) {
        if (a == "--json") json = true;
        else files.push_back(a);
    }
    if (files.size() != 1) {
        std::cerr << "usage: tessellor-tool profile FILE.pfl [--json]\n";
        return 2;
    }
    std::vector<std::uint8_t> bytes;
    if (const boundedfile::Result read = readWholeFile(files[0], bytes); !read) {
        std::cerr << "tessellor-tool profile: " << files[0] << ": " << read.cause << "\n";
        return 1;
    }
    try {
        const ProfileData d = readProfileBytes(bytes.data(), bytes.size());
        if (json) printJson(d); else printText(d);
    } catch (const CrossException&) {
        std::cerr << "tessellor-tool profile: " << files[0] << " is not a profile file (wrong signature)\n";
        return 1;
    }
    return 0;
}

Command::Registrar reg({"profile", "print what a player's profile file holds",
                        "tessellor-tool profile FILE.pfl [--json]\n"
                        "  Prints the settings, the solved crosswords and the saved progress of a profile.\n"
                        "  With --json, one object: solved, language, preview, size, autoMark, showHover,\n"
                        "  current, states (id, width, height, columnClues, rowClues, per column or slot\n"
                        "  the strings cells, colours, leftMarks and topMarks, and the seconds played),\n"
                        "  lineHelp, liveMistakes and window (x, y, width, height, maximised; or null).\n"
                        "  Exit status 1 when the file cannot be read or is not a profile file.\n",
                        run});
} // namespace
