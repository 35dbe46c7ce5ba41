// Simulated matrices and data sets, one file per iteration, for users who want to inspect or
// reuse the null-model draws.
#include "framework/rtl/SysUtils.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QStringList>

namespace {

QString SimFileName(int32_t Sim, int32_t Subset)
{
    QString name = QStringLiteral("Sim") + IntToStr(Sim);
    if (Subset != 0)
        name += QLatin1Char('_') + IntToStr(Subset);
    return name + QStringLiteral(".txt");
}

void SaveLines(const QStringList &Lines, const QString &Name)
{
    TStringList list;
    for (const QString &line : Lines)
        list.Add(line);
    list.SaveToFile(Name);
}

// A simulated matrix must cover the main grid's cells it is written under.
template <typename M>
void RequireCovers(const M &F_Mat, int32_t Cols, int32_t Rows)
{
    if (F_Mat.Cols() < Cols || F_Mat.Rows() < Rows)
        throw ERangeError(QStringLiteral("Simulated matrix is smaller than the data matrix"));
}

// The main grid's title row, then for each species its title and the values Value(c, r) of
// columns 1 onwards.
template <typename F>
void SaveMatrixFile(const TStringGrid *Grid, const QString &Name, F &&Value)
{
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < Grid->ColCount(); ++c)
        cells << Grid->Cells(c, 0);
    lines << TrimRight(cells.join(QLatin1Char(' ')));
    for (int r = 1; r < Grid->RowCount(); ++r) {
        cells = QStringList{Grid->Cells(0, r)};
        for (int c = 1; c < Grid->ColCount(); ++c)
            cells << Value(c, r);
        lines << TrimRight(cells.join(QLatin1Char(' ')));
    }
    SaveLines(lines, Name);
}

void RequireEntries(qsizetype Available, int32_t Count)
{
    if (Count > Available)
        throw ERangeError(QStringLiteral("Fewer values than entries to save"));
}

// "species<k> " + Fields(k - 1) for k = 1 to Count, under Header.
template <typename F>
QStringList ColumnLines(const QString &Header, int32_t Count, F &&Fields)
{
    QStringList lines{Header};
    for (int32_t k = 1; k <= Count; ++k)
        lines << QStringLiteral("species") + IntToStr(k) + QLatin1Char(' ') + Fields(k - 1);
    return lines;
}

QString TitlesHeader(const QString &FirstTitle, const QString &SecondTitle)
{
    return QStringLiteral("species ") + FirstTitle + QLatin1Char(' ') + SecondTitle;
}

}  // namespace

// A save that failed stops the run: one message, not one per iteration.
bool TTarvix::SaveSimulation(int32_t Sim, int32_t Subset, TStringGrid *StringGrid)
{
    if (simSaveFailed_)
        return false;
    bool written = false;
    try {
        written = SaveGridToFile(StringGrid, SimFileName(Sim, Subset));
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving simulation...Aborting."));
    }
    if (!written) {
        simSaveFailed_ = true;
        InterruptFlag = true;
    }
    return written;
}

void TTarvix::SaveSimulation_2(int32_t Sim, int32_t Subset, const Matrix &F_Mat)
{
    RequireCovers(F_Mat, MainGrid->ColCount(), MainGrid->RowCount());
    SaveMatrixFile(MainGrid, SimFileName(Sim, Subset), [&](int c, int r) { return IntToStr(F_Mat[c][r]); });
}

void TTarvix::SaveSimulation_4(int32_t Sim, int32_t Subset, const Matrix &F_Mat)
{
    RequireCovers(F_Mat, MainGrid->ColCount() - 1, MainGrid->RowCount() - 1);
    SaveMatrixFile(MainGrid, SimFileName(Sim, Subset), [&](int c, int r) { return IntToStr(F_Mat[c - 1][r - 1]); });
}

void TTarvix::SaveSimulation_3(int32_t Sim, int32_t Subset, const Real_Matrix &F_Mat)
{
    RequireCovers(F_Mat, MainGrid->ColCount(), MainGrid->RowCount());
    SaveMatrixFile(MainGrid, SimFileName(Sim, Subset), [&](int c, int r) { return FloatToStr(F_Mat[c][r]); });
}

bool TTarvix::saveColumns(int32_t Sim, const QStringList &Lines)
{
    if (simSaveFailed_)
        return false;
    try {
        SaveLines(Lines, SimFileName(Sim, 0));
        return true;
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error writing file."));
        simSaveFailed_ = true;
        InterruptFlag = true;
        return false;
    }
}

bool TTarvix::SaveNumberLineToFile(int32_t Sim, int32_t Count, std::span<const double> Values)
{
    RequireEntries(static_cast<qsizetype>(Values.size()), Count);
    return saveColumns(Sim, ColumnLines(QStringLiteral("species size"), Count,
                                        [&](int32_t i) { return FloatToStr75(Values[i]); }));
}

bool TTarvix::SaveTwoColumnsToFile(int32_t Sim, int32_t Count, std::span<const double> First,
                                   std::span<const double> Second, const QString &FirstTitle,
                                   const QString &SecondTitle)
{
    RequireEntries(static_cast<qsizetype>(std::min(First.size(), Second.size())), Count);
    return saveColumns(Sim, ColumnLines(TitlesHeader(FirstTitle, SecondTitle), Count, [&](int32_t i) {
                           return FloatToStr75(First[i]) + QLatin1Char(' ') + FloatToStr75(Second[i]);
                       }));
}

bool TTarvix::SaveTwoColumnsToFile_Real_Integer(int32_t Sim, int32_t Count, std::span<const double> First,
                                                std::span<const int32_t> Second, const QString &FirstTitle,
                                                const QString &SecondTitle)
{
    RequireEntries(static_cast<qsizetype>(std::min(First.size(), Second.size())), Count);
    return saveColumns(Sim, ColumnLines(TitlesHeader(FirstTitle, SecondTitle), Count, [&](int32_t i) {
                           return FloatToStr75(First[i]) + QLatin1Char(' ') + IntToStr(Second[i]);
                       }));
}

bool TTarvix::SaveTwoColumnsToFile_Labels(int32_t Sim, int32_t Count, std::span<const double> Values,
                                          const TStrings &Labels, const QString &FirstTitle,
                                          const QString &SecondTitle)
{
    RequireEntries(static_cast<qsizetype>(std::min<size_t>(Values.size(), size_t(Labels.Count()))), Count);
    return saveColumns(Sim, ColumnLines(TitlesHeader(FirstTitle, SecondTitle), Count, [&](int32_t i) {
                           return Labels.Get(i) + QLatin1Char(' ') + FloatToStr75(Values[i]);
                       }));
}
