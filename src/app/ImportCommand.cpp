// Game > Import puzzles...: community puzzle files into the player's pack
// "Imported".
#include "app/MainForm.h"

#include "config/Localization.h"
#include "config/SafeFormat.h"
#include "data/Pack.h"
#include "data/PackWriter.h"
#include "formats/Importer.h"
#include "packview/TPackView.h"
#include "profile/UserConfig.h"
#include "widgets/UiText.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>

#include <filesystem>

namespace {

constexpr const char* kImportedPack = "Imported";
// The game waits for the solver; a puzzle it cannot settle in this time is
// refused rather than freezing the window for long.
constexpr double kSecondsPerPuzzle = 10;
// Longer lists are cut in the message; the first lines name the trouble.
constexpr int kRefusalsShown = 20;

std::string text8(const char* key, const char* defaultText)
{
    if (const Localization* table = Localization::global())
        return table->GetText(key, defaultText);
    return Localization::expandLineBreaks(defaultText);
}

class ImagePixels : public PixelSource {
public:
    explicit ImagePixels(const QImage& image) : image_(image) {}
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    std::uint32_t rgb(int x, int y) const override { return image_.pixel(x, y) & 0xFFFFFF; }

private:
    const QImage& image_;
};

bool readPicture(const std::string& path, CrossData& out, std::string& error)
{
    QImage image;
    if (!image.load(QFile::decodeName(path.c_str()))) {
        error = "neither a puzzle (.non, .xml) nor a picture the game can read";
        return false;
    }
    if (image.width() < 1 || image.height() < 1 || image.width() > CrossData::kMaxSide ||
        image.height() > CrossData::kMaxSide) {
        error = "size outside 1..128";
        return false;
    }
    out.fromPicture(ImagePixels(image), QFileInfo(QFile::decodeName(path.c_str())).completeBaseName().toStdString());
    return true;
}

} // namespace

void MainForm::ImportClick()
{
    // The tree and its marks belong to a profile.
    if (!profile_)
        return;
    QStringList files;
    if (importChooser_) {
        files = importChooser_();
    } else {
        files = QFileDialog::getOpenFileNames(
            this, uitext::text("import_win_caption", "Import puzzles"), QString(),
            uitext::text("import_win_files", "Puzzles and pictures") + QStringLiteral(" (*.non *.xml *.png *.bmp);;") +
                uitext::text("import_win_all_files", "All files") + QStringLiteral(" (*)"));
    }
    if (files.isEmpty())
        return;

    namespace fs = std::filesystem;
    const std::string folder = pack::dataFolders().empty() ? std::string("data") : pack::dataFolders().front();
    const std::string packFile = pack::toFsPath(folder + "\\" + kImportedPack + ".qlp");
    std::error_code ec;
    fs::create_directories(pack::toFsPath(folder), ec);

    // An existing pack is added to; one that cannot be read is left alone
    // rather than replaced, so nothing in it is lost.
    std::vector<packwriter::Member> members;
    std::string error;
    if (fs::exists(fs::symlink_status(packFile, ec)) && !packwriter::read(packFile, members, error)) {
        showError(uitext::fromAnsi(text8("import_pack_unreadable", "The pack \"Imported\" could not be read, so nothing was imported:\\n")) +
                  QString::fromLocal8Bit(error.c_str()));
        return;
    }
    std::vector<std::string> existing;
    for (const auto& m : members)
        existing.push_back(m.path);

    Importer importer("", existing, readPicture, kSecondsPerPuzzle);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString& f : files)
        importer.addFile(QFile::encodeName(f).toStdString());
    QApplication::restoreOverrideCursor();

    std::string firstId;
    if (!importer.crosswords().empty()) {
        for (const auto& c : importer.crosswords())
            members.push_back({c.member, c.data.toFileBytes()});
        if (!packwriter::write(packFile, members, error)) {
            showError(uitext::fromAnsi(text8("import_pack_unwritable", "The pack \"Imported\" could not be written, so nothing was imported:\\n")) +
                      QString::fromLocal8Bit(error.c_str()));
            return;
        }
        std::string member = importer.crosswords().front().member;
        member.resize(member.size() - 3); // ".ql"
        for (char& ch : member)
            if (ch == '/') ch = '\\';
        firstId = std::string(kImportedPack) + "\\" + member;

        // Rescan: the catalogue is rebuilt from the packs with the profile's
        // marks, and the tree shows the first new crossword selected. The
        // new catalogue is made aside and swapped in just before the tree is
        // rebuilt, so the tree never points into a half-made one.
        setProfileMarks(profile_->catalogueMarks());
        TPackModelDir fresh("root");
        (void)scanPacks(fresh); // a pack broken since the start stays out; it was reported then
        const std::string current = profile_->current() >= 0 ? profile_->currentId() : std::string();
        if (TPackModelFile* open = current.empty() ? nullptr : findCrossword(fresh, current))
            open->edited = 1;
        recount(fresh);
        rootCategory_->children.swap(fresh.children);
        rootCategory_->editedCount = fresh.editedCount;
        rootCategory_->solvedCount = fresh.solvedCount;
        rootCategory_->totalCount = fresh.totalCount;
        if (treeView_->isHidden())
            SelectCrossClick();
        lastHintNode_ = nullptr;
        packView_->rebuild(firstId);
    }

    QString text = uitext::fromAnsi(safeFormat(
        text8("import_done", "%d crosswords were added to the pack \"Imported\"."),
        {std::int64_t(importer.crosswords().size())}));
    const auto& refusals = importer.refusals();
    if (!refusals.empty()) {
        text += QStringLiteral("\n\n") + uitext::fromAnsi(text8("import_refused", "Not imported:"));
        for (std::size_t i = 0; i < refusals.size() && i < std::size_t(kRefusalsShown); ++i)
            text += QStringLiteral("\n") + QString::fromLocal8Bit(refusals[i].c_str());
        if (refusals.size() > std::size_t(kRefusalsShown))
            text += QStringLiteral("\n...");
    }
    if (noticeDisplay_) {
        noticeDisplay_(text);
        return;
    }
    QMessageBox box(refusals.empty() ? QMessageBox::Information : QMessageBox::Warning,
                    QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, this);
    uitext::localizeButtons(box);
    box.exec();
}
