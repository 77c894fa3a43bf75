#pragma once

#include <functional>
#include <string>

class CrossData;

// Every crossword a command-line path names: a crossword file, or each
// crossword of a pack (.qlp) in member order, read through the same
// extraction the game uses. Unreadable inputs are reported on stderr under
// the command's name; returns false when any input could not be read.
bool forEachCrossword(const std::string& path, const std::string& command,
                      const std::function<void(const std::string& id, const CrossData& data)>& visit);

// A string as a JSON string literal.
std::string jsonString(const std::string& s);

// A picture file as "build" reads it (text grid .txt, .png, .bmp) into `out`;
// false with `error` otherwise.
bool readPictureFile(const std::string& path, CrossData& out, std::string& error);
