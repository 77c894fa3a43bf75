#include "formats/XmlReader.h"

#include <algorithm>

const std::string* XmlElement::attribute(std::string_view key) const
{
    for (const auto& [k, v] : attributes)
        if (k == key) return &v;
    return nullptr;
}

const XmlElement* XmlElement::child(std::string_view key) const
{
    for (const auto& c : children)
        if (c->name == key) return c.get();
    return nullptr;
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

void appendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

XmlReader::Token XmlReader::fail(const std::string& what)
{
    if (error_.empty()) {
        const std::size_t upto = std::min(pos_, text_.size());
        const long line = 1 + std::count(text_.begin(), text_.begin() + long(upto), '\n');
        error_ = "line " + std::to_string(line) + ": " + what;
    }
    return Token::Fail;
}

bool XmlReader::skipPast(std::string_view end)
{
    const std::size_t at = text_.find(end, pos_);
    if (at == std::string_view::npos) return false;
    pos_ = at + end.size();
    return true;
}

bool XmlReader::readName(std::string& out)
{
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
    if (pos_ == start || pos_ - start > 200) return false;
    out.assign(text_.substr(start, pos_ - start));
    return true;
}

// Character references: the five predefined ones and numeric ones. Other
// named references come from HTML habits in notes; they stay as written.
bool XmlReader::decode(std::string_view raw, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '&') {
            out += raw[i];
            continue;
        }
        const std::size_t semi = raw.find(';', i);
        if (semi == std::string_view::npos || semi - i > 12) {
            out += '&';
            continue;
        }
        const std::string_view ref = raw.substr(i + 1, semi - i - 1);
        if (ref == "lt") out += '<';
        else if (ref == "gt") out += '>';
        else if (ref == "amp") out += '&';
        else if (ref == "quot") out += '"';
        else if (ref == "apos") out += '\'';
        else if (!ref.empty() && ref[0] == '#') {
            const bool hex = ref.size() > 1 && (ref[1] == 'x' || ref[1] == 'X');
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            unsigned long cp = 0;
            if (digits.empty()) return false;
            for (char c : digits) {
                int d = c >= '0' && c <= '9' ? c - '0'
                        : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                      : -1;
                if (d < 0) return false;
                cp = cp * (hex ? 16 : 10) + unsigned(d);
                if (cp > 0x10FFFF) return false;
            }
            if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            appendUtf8(out, cp);
        } else {
            out.append(raw.substr(i, semi - i + 1));
        }
        i = semi;
    }
    return true;
}

XmlReader::Token XmlReader::next()
{
    for (;;) {
        if (pos_ >= text_.size()) {
            if (!open_.empty()) return fail("the file ends inside <" + open_.back() + ">");
            if (!rootSeen_) return fail("no element");
            return Token::Eof;
        }
        if (text_[pos_] != '<') {
            const std::size_t end = std::min(text_.find('<', pos_), text_.size());
            const std::string_view raw = text_.substr(pos_, end - pos_);
            if (open_.empty()) {
                if (!std::all_of(raw.begin(), raw.end(), isSpace) && !(pos_ == 0 && raw.starts_with("\xEF\xBB\xBF")))
                    return fail("text outside the document element");
                pos_ = end;
                continue;
            }
            if (!decode(raw, data_)) return fail("bad character reference");
            pos_ = end;
            return Token::Text;
        }
        const std::string_view rest = text_.substr(pos_);
        if (rest.starts_with("<?")) {
            if (!skipPast("?>")) return fail("unclosed <?");
        } else if (rest.starts_with("<!--")) {
            if (!skipPast("-->")) return fail("unclosed comment");
        } else if (rest.starts_with("<![CDATA[")) {
            if (open_.empty()) return fail("CDATA outside the document element");
            const std::size_t start = pos_ + 9;
            pos_ = start;
            if (!skipPast("]]>")) return fail("unclosed CDATA");
            data_.assign(text_.substr(start, pos_ - 3 - start));
            return Token::Text;
        } else if (rest.starts_with("<!DOCTYPE")) {
            if (rootSeen_) return fail("DOCTYPE after the document element");
            // Skip to the closing '>', over an internal subset in brackets;
            // entity definitions in it would change what the text means.
            int depth = 0;
            char quote = 0;
            for (++pos_;; ++pos_) {
                if (pos_ >= text_.size()) return fail("unclosed DOCTYPE");
                const char c = text_[pos_];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '[') {
                    ++depth;
                } else if (c == ']') {
                    --depth;
                } else if (c == '>' && depth <= 0) {
                    ++pos_;
                    break;
                } else if (depth > 0 && text_.substr(pos_).starts_with("<!ENTITY")) {
                    return fail("entity definitions are not read");
                }
            }
        } else if (rest.starts_with("</")) {
            pos_ += 2;
            if (!readName(name_)) return fail("bad end tag");
            while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
            if (pos_ >= text_.size() || text_[pos_] != '>') return fail("bad end tag </" + name_ + ">");
            ++pos_;
            if (open_.empty() || open_.back() != name_)
                return fail("</" + name_ + "> does not close " + (open_.empty() ? "anything" : "<" + open_.back() + ">"));
            open_.pop_back();
            return Token::End;
        } else {
            ++pos_;
            if (!readName(name_)) return fail("bad tag");
            if (open_.empty() && rootSeen_) return fail("a second document element <" + name_ + ">");
            attributes_.clear();
            for (;;) {
                const std::size_t before = pos_;
                while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
                if (pos_ >= text_.size()) return fail("the file ends inside <" + name_ + ">");
                if (text_[pos_] == '>' || text_.substr(pos_).starts_with("/>")) break;
                if (pos_ == before) return fail("bad attribute in <" + name_ + ">");
                std::string key;
                if (!readName(key)) return fail("bad attribute in <" + name_ + ">");
                while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
                if (pos_ >= text_.size() || text_[pos_] != '=') return fail("attribute " + key + " without value");
                ++pos_;
                while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
                if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) return fail("unquoted attribute " + key);
                const char q = text_[pos_++];
                const std::size_t end = text_.find(q, pos_);
                if (end == std::string_view::npos) return fail("unclosed attribute " + key);
                const std::string_view raw = text_.substr(pos_, end - pos_);
                if (raw.find('<') != std::string_view::npos) return fail("'<' in attribute " + key);
                std::string value;
                if (!decode(raw, value)) return fail("bad character reference");
                if (attributes_.size() < 64) attributes_.emplace_back(std::move(key), std::move(value));
                pos_ = end + 1;
            }
            rootSeen_ = true;
            if (text_[pos_] == '/') {
                pos_ += 2;
                return Token::Empty;
            }
            ++pos_;
            if (open_.size() >= kMaxDepth) return fail("elements nested deeper than " + std::to_string(kMaxDepth));
            open_.push_back(name_);
            return Token::Start;
        }
    }
}

bool XmlReader::forEach(std::string_view name, const std::function<void(const XmlElement&)>& visit)
{
    std::unique_ptr<XmlElement> tree;
    std::vector<XmlElement*> path; // open elements of the tree being built
    std::size_t elements = 0;
    for (;;) {
        const Token t = next();
        switch (t) {
        case Token::Fail:
            return false;
        case Token::Eof:
            return true;
        case Token::Text:
            if (!path.empty()) path.back()->text += data_;
            break;
        case Token::Start:
        case Token::Empty: {
            auto e = std::make_unique<XmlElement>();
            e->name = name_;
            e->attributes = std::move(attributes_);
            attributes_.clear();
            XmlElement* raw = e.get();
            if (path.empty()) {
                if (name_ != name) break;
                tree = std::move(e);
                elements = 1;
            } else {
                if (++elements > kMaxElementsPerTree) {
                    fail("more than " + std::to_string(kMaxElementsPerTree) + " elements in one <" + std::string(name) + ">");
                    return false;
                }
                path.back()->children.push_back(std::move(e));
            }
            if (t == Token::Start) {
                path.push_back(raw);
            } else if (path.empty()) {
                visit(*tree);
                tree.reset();
            }
            break;
        }
        case Token::End:
            if (!path.empty()) {
                path.pop_back();
                if (path.empty()) {
                    visit(*tree);
                    tree.reset();
                }
            }
            break;
        }
    }
}
