// Matrix text files: the space- and comma-delimited writers, the batch reader and the File
// menu's open and save commands for text.
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProUtil.h"
#include "workspace/TarvixMain.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");
const QString kUntitled = QStringLiteral("Untitled.txt");
const QString kCountsIncorrect = QStringLiteral("Row and Column counts incorrect.");

// A cell that holds a blank, a comma, a quote or a line break (a species name such as
// "Quercus robur") is quoted, so that every reader of these files takes it as one cell.
bool WriteGridText(TStringGrid *Grid, const QString &F_Name, char Separator)
{
    QString lines;
    for (int r = 0; r < Grid->RowCount(); ++r) {
        for (int c = 0; c < Grid->ColCount(); ++c) {
            if (c > 0)
                lines += QLatin1Char(Separator);
            lines += EncodeTextCell(Grid->Cells(c, r), c == Grid->ColCount() - 1);
        }
        lines += QStringLiteral("\r\n");
    }
    const QByteArray text = TEncoding::EncodeFileText(lines);
    // The file is replaced only once all of it is on disk: a failed write leaves the old one.
    // Unbuffered, so that a failing write is seen here and not lost in a flush inside commit.
    QSaveFile f(F_Name);
    // Left uncommitted, the partial file is thrown away.
    const bool written = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && f.write(text) == text.size() &&
                         f.error() == QFileDevice::NoError && f.commit();
    if (!written)
        ShowMessage(QStringLiteral("Error writing file."));
    return written;
}

// Empties every cell the grid holds, also those kept beyond lowered counts, and leaves it 1 x 1.
void EmptyCellStore(TProStringGrid *Grid)
{
    const TGridCoord extent = Grid->StoredCellExtent();
    Grid->SetColCount(std::max(Grid->ColCount(), extent.X));
    Grid->SetRowCount(std::max(Grid->RowCount(), extent.Y));
    Grid->Clear();
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
}

// The matrix as a refused open must leave it: every stored cell, the counts, the fixed rows and
// columns, the sizes and the current cell.
class TMatrixSnapshot
{
public:
    explicit TMatrixSnapshot(TProStringGrid *Grid)
        : grid_(Grid), cols_(Grid->ColCount()), rows_(Grid->RowCount()), fixedCols_(Grid->FixedCols()),
          fixedRows_(Grid->FixedRows()), col_(Grid->Col()), row_(Grid->Row()), extent_(Grid->StoredCellExtent())
    {
        const TStringGrid *store = Grid;
        cells_.resize(static_cast<size_t>(extent_.Y));
        for (int r = 0; r < extent_.Y; ++r)
            for (int c = 0; c < extent_.X; ++c)
                cells_[static_cast<size_t>(r)] << store->Cells(c, r);
        for (int c = 0; c < cols_; ++c)
            widths_.push_back(Grid->ColWidths(c));
        for (int r = 0; r < rows_; ++r)
            heights_.push_back(Grid->RowHeights(r));
    }

    void Restore() const
    {
        TGridUpdateLock update(grid_);
        EmptyCellStore(grid_);
        grid_->SetColCount(std::max(cols_, extent_.X));
        grid_->SetRowCount(std::max(rows_, extent_.Y));
        TStringGrid *store = grid_;
        for (int r = 0; r < extent_.Y; ++r)
            for (int c = 0; c < extent_.X; ++c)
                store->TStringGrid::SetCells(c, r, cells_[static_cast<size_t>(r)][c]);
        grid_->SetColCount(cols_);
        grid_->SetRowCount(rows_);
        grid_->SetFixedCols(fixedCols_);
        grid_->SetFixedRows(fixedRows_);
        for (int c = 0; c < cols_; ++c)
            grid_->SetColWidths(c, widths_[static_cast<size_t>(c)]);
        for (int r = 0; r < rows_; ++r)
            grid_->SetRowHeights(r, heights_[static_cast<size_t>(r)]);
        grid_->SetCol(col_);
        grid_->SetRow(row_);
    }

private:
    TProStringGrid *grid_;
    int cols_, rows_, fixedCols_, fixedRows_, col_, row_;
    TGridCoord extent_;
    std::vector<QStringList> cells_;
    std::vector<int> widths_, heights_;
};

// Lines of cells: a space or a comma ends a cell (a quoted cell holds them as text); CR LF, LF
// or CR ends a line; a last line without a line end counts too.
std::vector<QStringList> SplitMatrixText(const QString &Text)
{
    TStringList lines;
    lines.SetText(Text);
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(lines.Count()));
    for (int r = 0; r < lines.Count(); ++r)
        rows.push_back(SplitTextCells(lines.Strings(r), u" ,"));
    return rows;
}

// A row with fewer cells than the title row loads as it is, and the analyses read its missing
// cells as absences: the open says so, naming the first such row and how many there are.
// Cells[r] is the number of cells row r had in the file, its title included.
void ReportShortRows(const std::vector<int> &Cells, const std::function<QString(int)> &Title)
{
    if (Cells.empty())
        return;
    const int titleCells = Cells[0];
    int first = -1, count = 0;
    for (size_t r = 1; r < Cells.size(); ++r)
        if (Cells[r] < titleCells) {
            if (first < 0)
                first = static_cast<int>(r);
            ++count;
        }
    if (count == 0)
        return;
    QString text = QStringLiteral("Row %1 has %2 of %3 values.")
                       .arg(Title(first))
                       .arg(std::max(Cells[static_cast<size_t>(first)] - 1, 0))
                       .arg(titleCells - 1);
    if (count > 1)
        text += QStringLiteral(" %1 rows have fewer values than the title row.").arg(count);
    ShowMessage(text);
}

// Counts the cells the grid's reader gives each row while it lives, passing them on to the
// grid's own handler.
class TLoadedCellCounter
{
public:
    explicit TLoadedCellCounter(TProStringGrid *Grid) : grid_(Grid), saved_(Grid->OnLoadCell)
    {
        grid_->OnLoadCell = [this](TObject *Sender, int ACol, int ARow, QString &Value) {
            if (ARow >= 0) {
                if (static_cast<size_t>(ARow) >= cells_.size())
                    cells_.resize(static_cast<size_t>(ARow) + 1, 0);
                ++cells_[static_cast<size_t>(ARow)];
            }
            if (saved_)
                saved_(Sender, ACol, ARow, Value);
        };
    }
    ~TLoadedCellCounter() { grid_->OnLoadCell = saved_; }
    TLoadedCellCounter(const TLoadedCellCounter &) = delete;
    TLoadedCellCounter &operator=(const TLoadedCellCounter &) = delete;

    // One count per row of the grid; a row the reader gave no cell (an empty line) has 0.
    std::vector<int> Counts(int Rows) const
    {
        std::vector<int> r(cells_);
        r.resize(static_cast<size_t>(std::max(Rows, 0)), 0);
        return r;
    }

private:
    TProStringGrid *grid_;
    TCellSaveLoadEvent saved_;
    std::vector<int> cells_;
};

void OpenDelimited(TTarvix *T, QChar Delimiter)
{
    T->OpenDialog1->SetFilter(kTextFilter);
    T->OpenDialog1->SetTitle(QStringLiteral("Select an ASCII file to open."));
    T->OpenDialog1->SetFileName(QString());
    if (!T->OpenDialog1->Execute())
        return;
    const QString chosen = T->OpenDialog1->FileName();
    // A refused file leaves the user's matrix, unsaved edits included, as it was.
    const TMatrixSnapshot before(T->MainGrid);
    T->MainGrid->SetDelimiter(Delimiter);
    // The reader only ever widens the grid; from a 1 x 1 grid it takes the file's own width.
    T->MainGrid->BeginUpdate();
    EmptyCellStore(T->MainGrid);
    T->MainGrid->EndUpdate();
    std::vector<int> cells;
    try {
        const TLoadedCellCounter counter(T->MainGrid);
        T->MainGrid->LoadFromCSV(chosen, -1);
        cells = counter.Counts(T->MainGrid->RowCount());
    } catch (const Exception &E) {
        before.Restore();
        ShowMessage(E.Message());
        return;
    }
    if (T->MainGrid->RowCount() < 2 || T->MainGrid->ColCount() < 2) {
        before.Restore();
        ShowMessage(kCountsIncorrect);
        return;
    }
    T->FileName = chosen;
    T->SetCaption(QStringLiteral("Tarvix Professional: ") + ExpandFileName(T->FileName));
    T->LockRowColumn();
    ReportShortRows(cells, [T](int Row) { return T->MainGrid->Cells(0, Row); });
}

void SaveWithDialog(TTarvix *T, bool (TTarvix::*Writer)(TStringGrid *, const QString &))
{
    T->SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    T->SaveDialog1->SetFilter(kTextFilter);
    T->SaveDialog1->SetFilterIndex(1);
    T->SaveDialog1->SetFileName(QStringLiteral("data"));
    T->SaveDialog1->SetDefaultExt(QStringLiteral("txt"));
    if (T->SaveDialog1->Execute()) {
        T->FileName = T->SaveDialog1->FileName();
        try {
            (T->*Writer)(T->MainGrid, T->FileName);
        } catch (const Exception &) {
            ShowMessage(QStringLiteral("Error saving file."));
        }
    }
    T->SetCaption(QStringLiteral("Tarvix Professional ") + T->FileName);
}

}  // namespace

bool TTarvix::SaveGridToFile(TStringGrid *Grid, const QString &F_Name) { return WriteGridText(Grid, F_Name, ' '); }

bool TTarvix::SaveGridToFileComma(TStringGrid *Grid, const QString &F_Name) { return WriteGridText(Grid, F_Name, ','); }

void TTarvix::OpenBatchFile()
{
    QFile f(FileName);
    QByteArray bytes;
    if (FileExists(FileName) && f.open(QIODevice::ReadOnly))
        bytes = f.readAll();
    if (!f.isOpen() || f.error() != QFileDevice::NoError) {
        ShowMessage(FileName + QStringLiteral(": Error opening file."));
        Flag = false;
        return;
    }
    f.close();
    const std::vector<QStringList> lines = SplitMatrixText(TEncoding::DecodeFileText(bytes));
    qsizetype cols = 1;
    for (const QStringList &line : lines)
        cols = std::max(cols, line.size());

    MainGrid->BeginUpdate();
    EmptyCellStore(MainGrid);
    MainGrid->SetColCount(static_cast<int>(cols));
    MainGrid->SetRowCount(std::max<int>(1, static_cast<int>(lines.size())));
    for (size_t r = 0; r < lines.size(); ++r)
        for (qsizetype c = 0; c < lines[r].size(); ++c)
            MainGrid->SetCells(static_cast<int>(c), static_cast<int>(r), lines[r][c]);
    MainGrid->EndUpdate();
    Flag = !lines.empty();

    if (MainGrid->RowCount() < 2 || MainGrid->ColCount() < 2) {
        ShowMessage(kCountsIncorrect);
        return;
    }
    SetCaption(QStringLiteral("Tarvix Professional ") + FileName);
    LockRowColumn();
    std::vector<int> cells;
    cells.reserve(lines.size());
    for (const QStringList &line : lines)
        cells.push_back(static_cast<int>(line.size()));
    ReportShortRows(cells, [&lines](int Row) { return lines[static_cast<size_t>(Row)].value(0); });
}

void TTarvix::Spacedelimitedtext1Click(TObject *) { OpenDelimited(this, u' '); }

void TTarvix::Commadelimitedtxt1Click(TObject *) { OpenDelimited(this, u','); }

void TTarvix::Spacedelimitedtxt1Click(TObject *Sender)
{
    if (ExtractFileName(FileName) == kUntitled) {
        Save3Click(Sender);
    } else {
        try {
            SaveGridToFile(MainGrid, FileName);
        } catch (const Exception &) {
            ShowMessage(QStringLiteral("Error saving file."));
        }
    }
    SetCaption(QStringLiteral("Tarvix Professional ") + FileName);
}

void TTarvix::Space1Click(TObject *Sender) { Spacedelimitedtxt1Click(Sender); }

void TTarvix::Save3Click(TObject *) { SaveWithDialog(this, &TTarvix::SaveGridToFile); }

void TTarvix::Commadelimitedtxt2Click(TObject *) { SaveWithDialog(this, &TTarvix::SaveGridToFileComma); }

void TTarvix::Commadelimitedtxt3Click(TObject *Sender) { Commadelimitedtxt2Click(Sender); }
