#include "fuzz/FuzzCommon.h"
#include "workspace/AboutTarvix.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"
#include "workspace/TarvixRestructureMatrix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
// Never destroyed: the process ends inside libFuzzer, and Qt's objects must not be torn down by
// static destructors after it.
QApplication *app = nullptr;
QTemporaryDir *scratch = nullptr;
TTarvix *mainWindow = nullptr;
} // namespace

void FuzzSetUp()
{
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
    scratch = new QTemporaryDir();
    QDir::setCurrent(scratch->path());
}

TTarvix *FuzzMainWindow()
{
    FuzzSetUp();
    if (!mainWindow) {
        // The forms of the program block that the File commands reach, made as it makes them.
        auto create = [](auto *form) {
            form->AfterConstruction();
            return form;
        };
        Tarvix = mainWindow = create(new TTarvix(nullptr));
        Progress = create(new TProgress(nullptr));
        TarvixAbout = create(new TTarvixAbout(nullptr));
        TarvixRedoMatrix = create(new TTarvixRedoMatrix(nullptr));
    }
    return mainWindow;
}

QString FuzzPath(const QString &Name) { return QDir(scratch->path()).absoluteFilePath(Name); }

void FuzzWriteFile(const QString &Name, const uint8_t *Data, size_t Size)
{
    QFile f(FuzzPath(Name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(reinterpret_cast<const char *>(Data), qint64(Size)) != qint64(Size))
        FuzzFail("the scratch file could not be written", Name);
}

QByteArray FuzzReadFile(const QString &Name)
{
    QFile f(FuzzPath(Name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void FuzzFail(const char *What, const QString &Detail)
{
    std::fprintf(stderr, "\n*** property broken: %s\n%s\n", What, Detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

std::vector<QStringList> FuzzCells(const uint8_t *Data, size_t Size, int MaxRows, int MaxCols, int MinRows, int MinCols)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(Data), qsizetype(Size));
    std::vector<QStringList> rows;
    qsizetype width = MinCols;
    for (const QString &line : text.split(QChar(0x1E))) {
        if (int(rows.size()) == MaxRows)
            break;
        QStringList cells = line.split(QChar(0x1F)).mid(0, MaxCols);
        width = std::max(width, cells.size());
        rows.push_back(cells);
    }
    while (int(rows.size()) < MinRows)
        rows.push_back(QStringList());
    for (QStringList &r : rows)
        while (r.size() < width)
            r << QString();
    return rows;
}

QString FuzzShow(const std::vector<QStringList> &Cells)
{
    QString out;
    for (const QStringList &r : Cells) {
        QStringList shown;
        for (const QString &c : r) {
            QString s;
            for (QChar ch : c)
                s += ch.unicode() < 0x20 || ch.unicode() > 0x7E ? QStringLiteral("\\u%1").arg(int(ch.unicode()), 4, 16, QChar('0')) : QString(ch);
            shown << s;
        }
        out += QLatin1Char('[') + shown.join(QStringLiteral("] [")) + QStringLiteral("]\n");
    }
    return out;
}
