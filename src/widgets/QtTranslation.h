#pragma once

#include <QLocale>
#include <QString>

#include <memory>
#include <string>

class QTranslator;

// Qt's own texts (key names in shortcuts such as "Ctrl", the standard file
// and progress dialogs, the context menus of edit fields) in the language the
// game shows, from the translations installed with Qt. Without them those
// texts stay English in a German or Russian game.
class QtTranslation {
public:
    // Looks for the translations in Qt's own translation folder unless given
    // another.
    explicit QtTranslation(QString folder = {});
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Makes Qt's texts follow the game language of that name ("german",
    // "russian", ...): installs its translation in place of the one before.
    // English, names that are no language and languages without an installed
    // translation leave Qt's English texts; that is no error.
    void follow(const std::string& languageName);

    // The language a game language file name stands for, matched without
    // regard to case against Qt's English language names; AnyLanguage for
    // English (Qt's texts already are) and for names Qt does not know.
    static QLocale::Language language(const std::string& languageName);

private:
    QString folder_;
    QLocale::Language current_ = QLocale::AnyLanguage;
    std::unique_ptr<QTranslator> translator_;
};
