#pragma once

#include <exception>
#include <functional>
#include <string>

class TextLookup;

// The program's one exception for expected failures. Only the numeric code
// travels; the text is looked up when the error is shown, so it appears in
// the language the player has at that moment.
class CrossException : public std::exception {
public:
    explicit CrossException(int code);
    // `detail` names what failed and why ("data/Zoo.qlp: not a regular
    // file"); it is shown below the message in every language.
    CrossException(int code, std::string detail);

    int code() const noexcept { return code_; }
    const std::string& detail() const noexcept { return detail_; }
    const char* what() const noexcept override { return what_.c_str(); }

    // "error_" + code: the language key of the message.
    std::string key() const;
    // The message as it is shown: the key's text, or "Unknown error: <key>".
    std::string messageText(const TextLookup* language) const;
    // Shows the message in the installed display (a modal error box in the
    // game). Returns when the player has closed it; changes nothing else.
    void Show() const;

    using Display = std::function<void(const std::string& text)>;
    // The game installs its message box here; without one, Show writes to
    // standard error.
    static void setDisplay(Display display);

private:
    int code_;
    std::string detail_;
    std::string what_;
};
