#pragma once
// The main window and its dialogs, created as the program block creates them, in a fresh
// working directory.
#include "tests/common/TestSupport.h"
#include "workspace/AboutTarvix.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"
#include "workspace/TarvixRestructureMatrix.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>
#include <gtest/gtest.h>

class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        oldDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        Tarvix = create<TTarvix>();
        Progress = create<TProgress>();
        TarvixAbout = create<TTarvixAbout>();
        TarvixRedoMatrix = create<TTarvixRedoMatrix>();
    }

    void TearDown() override
    {
        destroy(TarvixRedoMatrix);
        destroy(TarvixAbout);
        destroy(Progress);
        destroy(Tarvix);
        QDir::setCurrent(oldDir);
    }

    template <typename T>
    static T *create()
    {
        T *form = new T(nullptr);
        form->AfterConstruction();
        return form;
    }

    template <typename T>
    static void destroy(T *&form)
    {
        if (!form)
            return;
        form->BeforeDestruction();
        delete form;
        form = nullptr;
    }

    // Runs Action; whenever Form is up, runs Step once and then closes Form if it is still up.
    static void WhileShown(TForm *Form, const std::function<void()> &Action, const std::function<void()> &Step = {})
    {
        QTimer timer;
        timer.setInterval(2);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!Form->Visible()) return;
            timer.stop();
            if (Step) Step();
            if (Form->Visible()) Form->Close();
            timer.start();
        });
        timer.start();
        Action();
    }

    QString Path(const QString &Name) const { return QDir(dir.path()).absoluteFilePath(Name); }

    // Writes a file in the working directory and gives its full path.
    QString Write(const QString &Name, const QByteArray &Bytes) const
    {
        QFile f(Path(Name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << Name.toStdString();
        f.write(Bytes);
        return Path(Name);
    }

    QByteArray Read(const QString &Name) const
    {
        QFile f(Path(Name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    QString oldDir;
};

// Records the names of the dialogs that show while it lives and closes each one at once.
class DialogWatch
{
public:
    explicit DialogWatch(std::vector<TForm *> Forms) : forms_(std::move(Forms))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (TForm *f : forms_)
                if (f->Visible()) {
                    Shown << f->Name();
                    f->Close();
                }
        });
        timer_.start(2);
    }
    QStringList Shown;

private:
    std::vector<TForm *> forms_;
    QTimer timer_;
};
