#pragma once

#include <functional>
#include <string>

class CrossData;

// Every crossword a command-line path names: a crossword file, or each
// crossword of a pack (.qlp, any case) in member order, the pack opened once
// and its members read by index. Unreadable inputs (a pack, a member, a
// file) are named on stderr with the cause under the command's name and the
// others still visited; returns false when any input could not be read.
bool forEachCrossword(const std::string& path, const std::string& command,
                      const std::function<void(const std::string& id, const CrossData& data)>& visit);

// A string as a JSON string literal.
std::string jsonString(const std::string& s);

// A picture file as "build" reads it (text grid .txt, .png, .bmp) into `out`;
// false with `error` otherwise.
bool readPictureFile(const std::string& path, CrossData& out, std::string& error);
