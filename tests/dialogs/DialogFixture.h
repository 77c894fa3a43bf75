#pragma once

#include "config/CrossException.h"
#include "config/Localization.h"
#include "WorkFolder.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A working folder of its own holding the shipped language files, with the
// errors the dialogs show collected instead of shown.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        CrossException::setDisplay([this](const std::string& text) { shownErrors.push_back(text); });
    }
    void TearDown() override { CrossException::setDisplay(nullptr); }
    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    WorkFolder work;
    Localization language;
    std::vector<std::string> shownErrors;
};

// Answers the modal dialogs of type D that a caller opens with exec(), up
// to times of them, while the handle lives; *handle is how many it answered.
struct ModalAnswer {
    std::shared_ptr<int> count = std::make_shared<int>(0);
    std::unique_ptr<QTimer> timer = std::make_unique<QTimer>();
    int operator*() const { return *count; }
};

template <typename D>
ModalAnswer whenModal(std::function<void(D&)> act, int times = 1)
{
    ModalAnswer answer;
    QTimer* timer = answer.timer.get();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act, count = answer.count, times] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || *count >= times)
            return;
        if (++*count >= times)
            timer->stop();
        act(*dialog);
    });
    timer->start();
    return answer;
}
