// The grid's own cell file (file and stream form), the ASCII table and reading a cell as a number.
#include "grid/core/ProGrid.h"
#include "grid/core/ProGridText.h"
#include "grid/core/ProUtil.h"

#include "framework/controls/Forms.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"

#include <QElapsedTimer>
#include <algorithm>
#include <charconv>

namespace
{
const QString kCorruptFile = QStringLiteral("File contains no data or corrupt file ");

// "c,r" of a header: both numbers, or false.
bool ParsePair(QStringView line, int &a, int &b)
{
    const qsizetype comma = line.indexOf(QChar(','));
    if (comma < 0)
        return false;
    bool ok1 = false, ok2 = false;
    a = line.left(comma).trimmed().toInt(&ok1);
    b = line.mid(comma + 1).trimmed().toInt(&ok2);
    return ok1 && ok2;
}

// A width line "cw i,w": its index and width, or false.
bool ParseWidthLine(QStringView line, int &index, int &width)
{
    if (line.size() < 4)
        return false;
    const QStringView rest = line.mid(3);
    const qsizetype comma = rest.indexOf(QChar(','));
    if (comma < 0)
        return false;
    bool ok1 = false, ok2 = false;
    index = rest.left(comma).trimmed().toInt(&ok1);
    width = rest.mid(comma + 1).trimmed().toInt(&ok2);
    return ok1 && ok2;
}

// A cell line "c,r,text": false when the line has no column or row number.
bool ParseCellLine(QStringView line, int &col, int &row, QStringView &text)
{
    const qsizetype c1 = line.indexOf(QChar(','));
    if (c1 <= 0)
        return false;
    const qsizetype c2 = line.indexOf(QChar(','), c1 + 1);
    if (c2 <= c1 + 1)
        return false;
    bool ok1 = false, ok2 = false;
    col = line.left(c1).toInt(&ok1);
    row = line.mid(c1 + 1, c2 - c1 - 1).toInt(&ok2);
    if (!ok1 || !ok2)
        return false;
    text = line.mid(c2 + 1);
    return true;
}

bool IsWidthLine(QStringView line) { return line.startsWith(QLatin1String("cw")); }

// Keeps the window answering during a long load without paying for it on every line.
class TMessagePump
{
public:
    TMessagePump() { timer_.start(); }
    void Poll()
    {
        if (timer_.elapsed() < 10)
            return;
        if (Application)
            Application->ProcessMessages();
        timer_.restart();
    }

private:
    QElapsedTimer timer_;
};

// The lines of a cell's text: CR LF, CR or LF end a line.
QStringList CellLines(const QString &s)
{
    QStringList out;
    for (const TLineSpan &l : SplitLines(s))
        out << s.mid(l.start, l.length);
    if (out.isEmpty())
        out << QString();
    return out;
}

// Aligned inside width w, followed by the blanks that make the field w + 1 wide.
QString AsciiField(QString s, int w, TAlignment HA)
{
    if (HA == taRightJustify) {
        if (s.size() < w)
            s = QString(w - s.size(), QChar(' ')) + s;
    } else if (HA == taCenter) {
        while (s.size() < w)
            s = QChar(' ') + s + QChar(' ');
    }
    if (s.size() <= w)
        s += QString(w - s.size() + 1, QChar(' '));
    return s;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// File form

void TProStringGrid::SaveToFile(const QString &FileName, bool Unicode)
{
    const int hidden = FSaveHiddenCells ? FNumHidden : 0;
    const int startCol = SaveStartCol(), endCol = SaveEndCol() + hidden;
    TStringList lines;
    lines.Add(QString::number(SaveColCount() + hidden) + QChar(',') + QString::number(SaveRowCount()));
    for (int i = startCol; i <= endCol; ++i)
        lines.Add(QStringLiteral("cw ") + QString::number(i) + QChar(',') +
                  QString::number(hidden ? GetAllColWidths(i) : ColWidths(i)));

    TProgressReporter progress(this, OnFileProgress);
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = startCol; c <= endCol; ++c) {
            QString s;
            SaveCell(c, r, s);
            if (!s.isEmpty())
                lines.Add(QString::number(c) + QChar(',') + QString::number(r) + QChar(',') + EncodeCellLineBreaks(s));
        }
        progress.Report(r, std::max(1, SaveRowCount() - 1));
    }
    ExportNotification(esExportDone, -1);
    lines.SaveToFile(FileName, Unicode ? TEncoding::Unicode() : nullptr);
}

void TProStringGrid::LoadFromFile(const QString &FileName)
{
    QString text;
    {
        TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
        text = ReadStreamText(&file);
    }
    const std::vector<TLineSpan> lines = SplitLines(text);
    auto lineAt = [&text, &lines](size_t i) { return QStringView(text).mid(lines[i].start, lines[i].length); };

    const int A = (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
    const int B = (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
    int cols = 0, rows = 0;
    if (lines.empty() || lineAt(0).isEmpty() || !ParsePair(lineAt(0), cols, rows))
        throw EProGridError(kCorruptFile + FileName);
    // Checked before the grid grows to the stated size: every column has its width line, and empty
    // rows have no line, but a header claiming millions of rows for a handful of lines is not a
    // grid file.
    const int64_t rowLimit = 65536 + 1024 * int64_t(lines.size());
    if (cols < 0 || rows < 0 || A + cols <= 0 || B + rows <= 0 || size_t(cols) > lines.size() - 1 || rows > rowLimit)
        throw EProGridError(kCorruptFile + FileName);

    TGridUpdateLock update(this);
    SetColCount(A + cols);
    SetRowCount(B + rows);
    FMaxRowCount = RowCount();

    TProgressReporter progress(this, OnFileProgress);
    TMessagePump pump;
    QString decoded;
    for (size_t i = 1; i < lines.size(); ++i) {
        const QStringView line = lineAt(i);
        int c = 0, r = 0;
        if (IsWidthLine(line)) {
            if (ParseWidthLine(line, c, r) && c >= 0 && c < ColCount())
                SetColWidths(c, r);
        } else {
            QStringView cellText;
            if (ParseCellLine(line, c, r, cellText) && c >= 0 && r >= 0 && c < ColCount() && r < RowCount()) {
                DecodeCellLineBreaks(cellText.toString(), FMultilinecells, decoded);
                LoadCell(c, r, decoded);
                progress.Report(r, RowCount() - 1);
            }
        }
        pump.Poll();
    }
    update.Release();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
}

// ---------------------------------------------------------------------------------------------
// Stream form

void TProStringGrid::SaveToStream(TStream *Stream)
{
    QString text;
    auto addLine = [&text](const QString &line) {
        text += line;
        text += QLatin1String("\r\n");
    };
    addLine(QString::number(SaveColCount()) + QChar(',') + QString::number(SaveRowCount()));
    for (int i = 0; i < ColCount(); ++i)
        addLine(QStringLiteral("cw ") + QString::number(i) + QChar(',') + QString::number(ColWidths(i)));
    const int startCol = SaveStartCol(), startRow = SaveStartRow();
    ExportNotification(esExportStart, startRow);
    for (int r = startRow; r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = startCol; c <= SaveEndCol(); ++c) {
            QString s;
            SaveCell(c, r, s);
            if (!s.isEmpty())
                addLine(QString::number(c - startCol) + QChar(',') + QString::number(r - startRow) + QChar(',') +
                        EncodeCellLineBreaks(s));
        }
    }
    ExportNotification(esExportDone, -1);
    // UTF-16 code units, little-endian, whatever the machine.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        bytes[2 * i] = char(u & 0xFF);
        bytes[2 * i + 1] = char(u >> 8);
    }
    Stream->WriteBuffer(bytes.constData(), bytes.size());
}

void TProStringGrid::LoadFromStream(TStream *Stream)
{
    const int64_t start = Stream->Position();
    const int64_t size = std::max<int64_t>(Stream->Size() - start, 0);
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    bytes.resize(qsizetype(Stream->Read(bytes.data(), bytes.size())));
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8)));

    // Reads the line at unit pos: up to a CR, which is dropped with the unit after it.
    qsizetype pos = 0;
    auto readLine = [&](QStringView &line) {
        const qsizetype cr = text.indexOf(QChar(13), pos);
        const qsizetype end = cr < 0 ? units : cr;
        line = QStringView(text).mid(pos, end - pos);
        pos = cr < 0 ? units : std::min(units, cr + 2);
    };
    auto stopAt = [&](qsizetype at) { Stream->SetPosition(start + 2 * int64_t(at)); };

    if (units == 0)
        return;
    TGridUpdateLock update(this);
    QStringView line;
    readLine(line);
    if (!line.isEmpty()) {
        int cols = 0, rows = 0;
        if (!ParsePair(line, cols, rows) || cols < 0 || rows < 0) {
            update.Release();
            stopAt(0);
            return;
        }
        // The stream holds a width line of at least eight code units for every column; empty rows
        // have no line, but not millions of them for a handful of lines.
        const int64_t rowLimit = 65536 + 1024 * int64_t(text.count(QChar(13)) + 1);
        if (int64_t(cols) * 8 > units || rows > rowLimit)
            throw EProGridError(kCorruptFile);
        SetColCount(cols + SaveStartCol());
        SetRowCount(rows + SaveStartRow());
        FMaxRowCount = RowCount();
    }
    const int startCol = SaveStartCol(), startRow = SaveStartRow();
    QString decoded;
    bool stopped = false;
    while (pos < units) {
        const qsizetype lineStart = pos;
        readLine(line);
        int c = 0, r = 0;
        if (IsWidthLine(line)) {
            if (ParseWidthLine(line, c, r) && c >= 0 && c < ColCount())
                SetColWidths(c, r);
            continue;
        }
        QStringView cellText;
        if (!ParseCellLine(line, c, r, cellText)) {
            stopAt(lineStart);
            stopped = true;
            break;
        }
        c += startCol;
        r += startRow;
        if (c >= 0 && r >= 0 && c < ColCount() && r < RowCount()) {
            DecodeCellLineBreaks(cellText.toString(), FMultilinecells, decoded);
            LoadCell(c, r, decoded);
        }
    }
    if (!stopped)
        Stream->SetPosition(start + bytes.size());
    update.Release();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
}

// ---------------------------------------------------------------------------------------------
// ASCII table

void TProStringGrid::SaveToASCII(const QString &FileName, bool Unicode) { WriteASCII(FileName, false, Unicode); }

void TProStringGrid::AppendToASCII(const QString &FileName, bool Unicode) { WriteASCII(FileName, true, Unicode); }

void TProStringGrid::WriteASCII(const QString &FileName, bool Append, bool Unicode)
{
    TCursor oldCursor = Screen ? Screen->Cursor() : crDefault;
    if (Screen)
        Screen->SetCursor(crHourGlass);
    TStringList lines;
    TEncoding *encoding = Unicode ? TEncoding::Unicode() : nullptr;
    if (Append && FileExists(FileName))
        lines.LoadFromFile(FileName);

    const int hidden = FSaveHiddenCells ? FNumHidden : 0;
    const int firstCol = (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
    const int firstRow = (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
    const int lastCol = ColCount() - 1 + hidden;
    auto cellLines = [&](int d, int r) {
        QString s;
        SaveCell(FSaveHiddenCells ? d : RealColIndex(d), r, s);
        QStringList l = CellLines(s);
        if (!FMultilinecells)
            l = l.mid(0, 1);
        return l;
    };
    auto alignment = [&](int d, int r) {
        TAlignment HA = FDefaultAlignment;
        TVAlignment VA = FVAlignment;
        if (d < ColCount())
            GetCellAlignment(d, r, HA, VA);
        return HA;
    };

    try {
        std::vector<int> widths(size_t(std::max(0, lastCol - firstCol + 1)), 0);
        for (int d = firstCol; d <= lastCol; ++d)
            for (int r = 0; r < RowCount(); ++r)
                for (const QString &l : cellLines(d, r))
                    widths[size_t(d - firstCol)] = std::max(widths[size_t(d - firstCol)], int(l.size()));

        ExportNotification(esExportStart, firstRow);
        for (int r = firstRow; r < RowCount(); ++r) {
            ExportNotification(esExportNextRow, r);
            QString line;
            QStringList more;
            for (int d = firstCol; d <= lastCol; ++d) {
                const int w = widths[size_t(d - firstCol)];
                const TAlignment HA = alignment(d, r);
                const QStringList l = cellLines(d, r);
                const int colStart = int(line.size());
                line += AsciiField(l[0], w, HA);
                for (int k = 1; k < l.size(); ++k) {
                    if (more.size() < k)
                        more << QString();
                    QString &cont = more[k - 1];
                    if (cont.size() < colStart)
                        cont += QString(colStart - cont.size(), QChar(' '));
                    cont += AsciiField(l[k], w, HA);
                }
            }
            lines.Add(line);
            for (const QString &m : more)
                lines.Add(m);
        }
    } catch (...) {
        ExportNotification(esExportDone, -1);
        lines.SaveToFile(FileName, encoding);
        if (Screen)
            Screen->SetCursor(oldCursor);
        throw;
    }
    ExportNotification(esExportDone, -1);
    try {
        lines.SaveToFile(FileName, encoding);
    } catch (...) {
        if (Screen)
            Screen->SetCursor(oldCursor);
        throw;
    }
    if (Screen)
        Screen->SetCursor(oldCursor);
}

// ---------------------------------------------------------------------------------------------
// Numbers

double TProStringGrid::CellToReal(int ACol, int ARow)
{
    const QString cell = Cells(ACol, ARow);
    if (cell.isEmpty())
        return 0;
    const QByteArray s = NumberTextToDecimal(cell).toLatin1();
    // Locale-free: the text already uses "." for decimals.
    const char *begin = s.constData();
    const char *last = begin + s.size();
    const char *from = begin;
    if (from < last && *from == '+')
        ++from;
    double v = 0;
    const std::from_chars_result res = std::from_chars(from, last, v);
    const bool failed = s.isEmpty() || res.ec != std::errc() || res.ptr != last;
    if (failed) {
        const qsizetype at = res.ec == std::errc() ? qsizetype(res.ptr - begin) : qsizetype(from - begin);
        throw EProGridError(QStringLiteral("Error at position: ") + QString::number(at + 1) +
                            QStringLiteral(" in Cell [") + QString::number(ACol) + QStringLiteral(", ") +
                            QString::number(ARow) + QStringLiteral("]."));
    }
    return v;
}
