#include "widgets/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QtTranslation::QtTranslation(QString folder)
    : folder_(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : std::move(folder))
{
}

// The translator removes itself from the application when it is destroyed.
QtTranslation::~QtTranslation() = default;

QLocale::Language QtTranslation::language(const std::string& languageName)
{
    const QString name = QString::fromLatin1(languageName.data(), qsizetype(languageName.size()));
    for (int value = QLocale::AnyLanguage + 1; value <= QLocale::LastLanguage; ++value) {
        const auto candidate = static_cast<QLocale::Language>(value);
        if (QLocale::languageToString(candidate).compare(name, Qt::CaseInsensitive) == 0)
            return candidate == QLocale::English ? QLocale::AnyLanguage : candidate;
    }
    return QLocale::AnyLanguage;
}

void QtTranslation::follow(const std::string& languageName)
{
    const QLocale::Language wanted = language(languageName);
    if (wanted == current_)
        return;
    // Removing the old translation first, so that a language without one
    // falls back to English rather than keeping the previous language.
    translator_.reset();
    current_ = wanted;
    if (wanted == QLocale::AnyLanguage)
        return;
    auto translator = std::make_unique<QTranslator>();
    // qtbase holds the texts of the widgets and dialogs this game uses.
    if (translator->load(QLocale(wanted), QStringLiteral("qtbase"), QStringLiteral("_"), folder_)
        && QCoreApplication::installTranslator(translator.get()))
        translator_ = std::move(translator);
}
