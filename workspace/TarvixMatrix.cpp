// Whole-matrix commands of the File and Edit menus.
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"
#include "workspace/TarvixRestructureMatrix.h"
#include <vector>

namespace {

constexpr int64_t kCellLimit = 440000;

// New titles get a random fraction so that they are unique in practice.
QString RandomTitle(const char *Stem)
{
    return QLatin1String(Stem) + FloatToStrF(Random(), ffFixed, 7, 7);
}

}  // namespace

void TTarvix::defaultMatrix(bool RandomData)
{
    WithUpdate(*MainGrid, [&] {
        MainGrid->SetRowCount(6);
        MainGrid->SetColCount(6);
        for (int r = 0; r <= 5; ++r)
            MainGrid->SetCells(0, r, QStringLiteral("species") + IntToStr(r));
        for (int c = 0; c <= 5; ++c)
            MainGrid->SetCells(c, 0, QStringLiteral("site") + IntToStr(c));
        MainGrid->SetCells(0, 0, QStringLiteral("species"));
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 5; ++c)
                MainGrid->SetCells(c, r, RandomData ? IntToStr(Random(2)) : QStringLiteral("0"));
    });
}

void TTarvix::New1Click(TObject *)
{
    defaultMatrix(true);
    FileName = ExpandFileName(QStringLiteral("Untitled.txt"));
    showFileCaption();
    LockRowColumn();
}

void TTarvix::Close1Click(TObject *)
{
    defaultMatrix(false);
    FileName = QStringLiteral("Untitled.txt");
    showFileCaption();
    LockRowColumn();
}

void TTarvix::LockRowColumn()
{
    // Each check mark follows the lock it stands for, so a refused lock leaves its mark alone.
    auto lock = [this] {
        MainGrid->SetFixedCols(1);
        LockRowTitles->SetChecked(true);
        MainGrid->SetFixedRows(1);
        LockColumnTitles->SetChecked(true);
    };
    try {
        lock();
    } catch (const Exception &) {
        if (MainGrid->RowCount() < 2 || MainGrid->ColCount() < 2)
            ShowMessage(QStringLiteral("Unable to lock row and column titles!"));
        else
            lock();
    }
}

void TTarvix::LockRowTitlesClick(TObject *)
{
    const bool lock = !LockRowTitles->Checked();
    MainGrid->SetFixedCols(lock ? 1 : 0);
    LockRowTitles->SetChecked(lock);
}

void TTarvix::LockColumnTitlesClick(TObject *)
{
    const bool lock = !LockColumnTitles->Checked();
    MainGrid->SetFixedRows(lock ? 1 : 0);
    LockColumnTitles->SetChecked(lock);
}

void TTarvix::RestructMatrixClick(TObject *)
{
    TarvixRedoMatrix->Init(MainGrid->ColCount(), MainGrid->RowCount());
    // Only an accepted dialog resizes: Cancel and a settings error leave the matrix alone.
    if (TarvixRedoMatrix->ShowModal() != mrOk)
        return;
    RestructureGrid(TarvixRedoMatrix->Old_Cols, TarvixRedoMatrix->Old_Rows, TarvixRedoMatrix->New_Cols,
                    TarvixRedoMatrix->New_Rows);
}

void TTarvix::About2Click(TObject *)
{
    TarvixRedoMatrix->About();
    TarvixRedoMatrix->ShowModal();
}

void TTarvix::RestructureGrid(int32_t Old_Cols, int32_t Old_Rows, int32_t New_Cols, int32_t New_Rows)
{
    if (New_Rows == Old_Rows && New_Cols == Old_Cols)
        return;
    // 64 bits, so that a huge request cannot wrap into an accepted size.
    const int64_t cells = int64_t(New_Rows) * int64_t(New_Cols);
    if (cells > kCellLimit || cells <= 0) {
        ShowMessage(QStringLiteral("1 < Cell limits < 440,000, e.g. 200x2200."));
        return;
    }
    if (New_Rows < 1) {
        ShowMessage(QStringLiteral("Rows must be >= 1"));
        return;
    }
    if (New_Cols < 1) {
        ShowMessage(QStringLiteral("Columns must be >= 1"));
        return;
    }
    WithUpdate(*MainGrid, [&] {
        MainGrid->SetRowCount(New_Rows + 1);
        MainGrid->SetColCount(New_Cols + 1);
        for (int r = Old_Rows + 1; r <= New_Rows; ++r) {
            MainGrid->SetCells(0, r, RandomTitle("species"));
            for (int c = 1; c < MainGrid->ColCount(); ++c)
                MainGrid->SetCells(c, r, QStringLiteral("1"));
        }
        for (int c = Old_Cols + 1; c <= New_Cols; ++c) {
            MainGrid->SetCells(c, 0, RandomTitle("site"));
            for (int r = 1; r < MainGrid->RowCount(); ++r)
                MainGrid->SetCells(c, r, QStringLiteral("1"));
        }
    });
}

void TTarvix::Transformmatrix1Click(TObject *) { TransformMatrix(MainGrid); }

void TTarvix::TransformMatrix(TStringGrid *Grid)
{
    const int oldCols = Grid->ColCount();
    const int oldRows = Grid->RowCount();
    std::vector<QString> cells;
    cells.reserve(size_t(oldCols) * size_t(oldRows));
    for (int r = 0; r < oldRows; ++r)
        for (int c = 0; c < oldCols; ++c)
            cells.push_back(Grid->Cells(c, r));
    auto transpose = [&] {
        Grid->SetRowCount(oldCols);
        Grid->SetColCount(oldRows);
        size_t k = 0;
        for (int c = 0; c < oldRows; ++c)
            for (int r = 0; r < oldCols; ++r)
                Grid->SetCells(c, r, cells[k++]);
    };
    if (auto *pro = dynamic_cast<TProStringGrid *>(Grid))
        WithUpdate(*pro, transpose);
    else
        transpose();
}

template <typename F>
void TTarvix::fillDataCells(F &&Value)
{
    if (MainGrid->RowCount() < 2)
        return;
    WithUpdate(*MainGrid, [&] {
        for (int r = 1; r < MainGrid->RowCount(); ++r)
            for (int c = 1; c < MainGrid->ColCount(); ++c)
                MainGrid->SetCells(c, r, Value());
    });
}

void TTarvix::N011Click(TObject *)
{
    fillDataCells([] { return IntToStr(Random(2)); });
}

void TTarvix::N01Click(TObject *)
{
    fillDataCells([] { return FloatToStr75(Random()); });
}

void TTarvix::N1X1001Click(TObject *)
{
    fillDataCells([] { return IntToStr(Random(10)); });
}
