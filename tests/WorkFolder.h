#pragma once
// Widget tests run in a scratch working folder holding copies of the shipped
// language files, as the game runs in its repository folder.

#include "TestGrids.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

// The folder is current from construction to destruction.
class WorkFolder {
public:
    WorkFolder() : previous_(QDir::currentPath())
    {
        QDir().mkpath(dir_.filePath("language"));
        const QDir shipped(QStringLiteral(TESSELLOR_SOURCE_DIR "/language"));
        for (const QString& name : shipped.entryList({"*.lng"}, QDir::Files))
            QFile::copy(shipped.filePath(name), dir_.filePath("language/" + name));
        QDir::setCurrent(dir_.path());
    }
    ~WorkFolder() { QDir::setCurrent(previous_); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool isValid() const { return dir_.isValid(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Writes data/<pack>.qlp in the current folder with the given members
// (archive path, picture rows) through the standard zip program.
inline void makePack(const QString& pack, const std::vector<std::pair<QString, std::vector<std::string>>>& members)
{
    QDir().mkpath("data");
    QTemporaryDir src;
    for (const auto& [path, rows] : members) {
        QDir(src.path()).mkpath(QFileInfo(path).path());
        const auto bytes = testgrids::fileBytes(rows, "x");
        QFile member(src.filePath(path));
        ASSERT_TRUE(member.open(QIODevice::WriteOnly));
        member.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    const QString cmd =
        "cd '" + src.path() + "' && zip -q -r '" + QDir::current().filePath("data/" + pack + ".qlp") + "' .";
    ASSERT_EQ(std::system(cmd.toLocal8Bit().constData()), 0);
}
