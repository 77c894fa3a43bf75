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
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <mutex>

namespace {

constexpr const char* kImportedPack = "Imported";
// The game waits for the solver; a puzzle it cannot settle in this time is
// refused rather than freezing the window for long.
constexpr double kSecondsPerPuzzle = 10;
// Longer lists are cut in the message; the first lines name the trouble.
constexpr int kRefusalsShown = 20;
// A quick import ends under the wait cursor alone; the progress dialog
// comes only when it lasts longer than this, so it never just flashes by.
constexpr int kProgressAfterMs = 400;
constexpr int kProgressRefreshMs = 100;

// Where the import thread is, read by the window's timer. Puzzle 0: the
// files are still being read.
struct ImportProgress {
    std::mutex mutex;
    std::size_t number = 0, total = 0;
    std::string file, puzzle;
};

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

// Reads and solves on a thread of its own while the window stays live,
// with a progress dialog and its Cancel button; `stopSlot` holds the stop
// flag meanwhile, for a close of the window. Returns false when stopped: the
// importer's lists are then incomplete. The thread touches only the
// importer, the file names and the progress; the language table, the
// catalogue and the profile stay on the window's thread.
bool importOffThread(QWidget* parent, Importer& importer, const QStringList& files, std::atomic<bool>*& stopSlot)
{
    std::vector<std::string> paths;
    for (const QString& f : files)
        paths.push_back(QFile::encodeName(f).toStdString());
    std::atomic<bool> stop{false};
    bool complete = false;
    ImportProgress progress;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (const std::string& path : paths) {
            if (stop.load())
                return;
            {
                const std::lock_guard<std::mutex> lock(progress.mutex);
                progress.file = path;
            }
            importer.readFile(path);
        }
        complete = importer.solveQueued(
            [&](std::size_t number, std::size_t total, const std::string& file, const std::string& puzzle) {
                const std::lock_guard<std::mutex> lock(progress.mutex);
                progress.number = number;
                progress.total = total;
                progress.file = file;
                progress.puzzle = puzzle;
            },
            &stop);
    }));
    // However this is left, the thread is stopped and waited for before
    // anything it uses goes out of scope.
    struct Join {
        QThread& thread;
        std::atomic<bool>& stop;
        std::atomic<bool>*& slot;
        ~Join()
        {
            stop.store(true);
            thread.wait();
            slot = nullptr;
        }
    } join{*worker, stop, stopSlot};
    stopSlot = &stop;

    QProgressDialog dialog(parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(uitext::text("import_win_caption", "Import puzzles"));
    dialog.setCancelButtonText(uitext::text("common_str_cancel", "Cancel"));
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumWidth(420);
    dialog.setRange(0, 0);
    // The Cancel button; Escape and the title bar's close only reject.
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&stop] { stop.store(true); });
    QObject::connect(&dialog, &QDialog::rejected, &dialog, [&stop] { stop.store(true); });
    QEventLoop loop;
    auto showProgress = [&] {
        std::size_t number, total;
        std::string file, puzzle;
        {
            const std::lock_guard<std::mutex> lock(progress.mutex);
            number = progress.number;
            total = progress.total;
            file = progress.file;
            puzzle = progress.puzzle;
        }
        QString where = QFileInfo(QFile::decodeName(file.c_str())).fileName();
        if (!puzzle.empty())
            where += QStringLiteral(": ") + QString::fromLocal8Bit(puzzle.c_str());
        where = dialog.fontMetrics().elidedText(where, Qt::ElideMiddle, dialog.minimumWidth() - 40);
        const QString step = number == 0
            ? uitext::fromAnsi(text8("import_reading", "Reading the files..."))
            : uitext::fromAnsi(safeFormat(text8("import_progress", "Puzzle %d of %d"),
                                          {std::int64_t(number), std::int64_t(total)}));
        dialog.setLabelText(step + QStringLiteral("\n") + where);
        if (number > 0) {
            dialog.setRange(0, int(total));
            dialog.setValue(int(number) - 1);
        }
        // The thread's end may have been told to the quiet wait below.
        if (worker->isFinished())
            loop.quit();
    };
    QTimer refresh;
    refresh.setInterval(kProgressRefreshMs);
    QObject::connect(&refresh, &QTimer::timeout, &dialog, showProgress);
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    worker->start();
    // First a short wait that repaints but takes no input, then the dialog.
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    quiet.start(kProgressAfterMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    quiet.stop();
    QApplication::restoreOverrideCursor();
    if (!worker->isFinished() && !stop.load()) {
        refresh.start();
        showProgress();
        dialog.show();
        // Also left when the program is told to quit: the thread is then
        // stopped like a cancelled one.
        loop.exec();
    }
    if (!worker->isFinished())
        stop.store(true);
    worker->wait();
    return complete && !stop.load();
}

} // namespace

void MainForm::ImportClick()
{
    // The tree and its marks belong to a profile. One import at a time: a
    // second one would write over the first's pack.
    if (!profile_ || importStop_)
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
    const bool complete = importOffThread(this, importer, files, importStop_);
    // Cancelled, or the window asked to close: nothing is written, the pack
    // stays as it was.
    if (!complete) {
        if (closeAfterImport_) {
            closeAfterImport_ = false;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
        return;
    }

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
