#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One element of a document, with what is inside it.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text; // all character data directly inside, concatenated
    std::vector<std::unique_ptr<XmlElement>> children;

    const std::string* attribute(std::string_view key) const;
    const XmlElement* child(std::string_view key) const;
};

// A small XML reader for puzzle files: elements, attributes, text, CDATA,
// comments, processing instructions, a DOCTYPE without entity definitions,
// and the predefined and numeric character references. Enough for the files
// puzzle sites write; it refuses malformed documents instead of guessing.
// Bounded: nesting depth and elements per tree are capped, and it never
// reads past the text it was given.
class XmlReader {
public:
    static constexpr std::size_t kMaxDepth = 32;
    static constexpr std::size_t kMaxElementsPerTree = 200000;

    explicit XmlReader(std::string_view text) : text_(text) {}

    // Walks the whole document and hands every element named `name` (not
    // inside another of that name) to `visit` as a tree, then drops it, so a
    // long set never sits in memory at once. Returns false with error() set
    // ("line 7: ...") on the first fault of the document.
    bool forEach(std::string_view name, const std::function<void(const XmlElement&)>& visit);

    const std::string& error() const { return error_; }

private:
    enum class Token { Start, End, Empty, Text, Eof, Fail };
    Token next();
    Token fail(const std::string& what);
    bool skipPast(std::string_view end);
    bool readName(std::string& out);
    bool decode(std::string_view raw, std::string& out);

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
    // The current token.
    std::string name_, data_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::vector<std::string> open_;
    bool rootSeen_ = false;
};
