// Delimited and fixed-width text: the reader, the writer and the per-cell file conversions.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"

#include "framework/rtl/CodePage.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"

#include <algorithm>
#include <memory>

namespace
{
constexpr QChar DQ = QChar('"');
constexpr QChar CR = QChar(13);
constexpr QChar LF = QChar(10);

struct TLineSpan
{
    qsizetype start;
    qsizetype length;
};

// Lines end at CR LF, a lone CR or a lone LF; a line end at the very end adds no empty line.
std::vector<TLineSpan> SplitLines(QStringView text)
{
    std::vector<TLineSpan> lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i)
    {
        const QChar c = text[i];
        if (c != CR && c != LF)
            continue;
        lines.push_back({start, i - start});
        if (c == CR && i + 1 < n && text[i + 1] == LF)
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back({start, n - start});
    return lines;
}

// The rest of the stream, decoded by byte-order mark (Windows-1252 without one); a NUL character
// ends the text.
QString ReadStreamText(TStream *stream)
{
    const int64_t size = std::max<int64_t>(stream->Size() - stream->Position(), 0);
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    bytes.resize(qsizetype(stream->Read(bytes.data(), bytes.size())));
    TEncoding *enc = nullptr;
    const int bom = TEncoding::GetBufferEncoding(bytes, enc);
    QString text = enc ? enc->GetString(bytes.mid(bom)) : AnsiToString(bytes);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

// Candidates in order of preference; on equal counts the earlier one wins.
QChar DetectDelimiter(QStringView l1, QStringView l2)
{
    static const QChar candidates[] = {QChar(','), QChar(';'), QChar('#'), QChar(9), QChar('|'),
                                       QChar('@'), QChar('*'), QChar('-'), QChar('+'), QChar('&')};
    QChar found = QChar(0);
    int32_t best = 0;
    for (QChar ch : candidates)
    {
        const int32_t n = CountClosingQuotes(ch, l1);
        if (n == CountClosingQuotes(ch, l2) && n > best)
        {
            found = ch;
            best = n;
        }
    }
    if (best == 0)
        for (QChar ch : candidates)
        {
            const int32_t n = CountChar(ch, l1);
            if (n == CountChar(ch, l2) && n > best)
            {
                found = ch;
                best = n;
            }
        }
    if (best == 0)
        for (QChar ch : candidates)
        {
            const int32_t n1 = CountChar(ch, l1), n2 = CountChar(ch, l2);
            if (n1 > best || n2 > best)
            {
                found = ch;
                best = std::max(n1, n2);
            }
        }
    return found;
}

// Fires the progress event only when the rounded percentage changes.
class TProgressReporter
{
public:
    TProgressReporter(TObject *sender, const TGridProgressEvent &event) : sender_(sender), event_(event) {}
    void Report(double done, double total)
    {
        if (!event_)
            return;
        // A grid of one row has nothing to divide by: it is done at once.
        const int16_t percent = total > 0 ? int16_t(Round(done / total * 100.0)) : int16_t(100);
        if (percent == last_)
            return;
        last_ = percent;
        event_(sender_, percent);
    }

private:
    TObject *sender_;
    const TGridProgressEvent &event_;
    int16_t last_ = 0;
};

// Restores the delimiter however the load ends: a detected one is never kept.
class TDelimiterScope
{
public:
    explicit TDelimiterScope(QChar &field) : field_(field), saved_(field) {}
    ~TDelimiterScope() { Restore(); }
    void Restore() { field_ = saved_; }

private:
    QChar &field_;
    QChar saved_;
};
} // namespace

// ---------------------------------------------------------------------------------------------
// Per-cell conversions

void TProStringGrid::SaveCell(int ACol, int ARow, QString &Value)
{
    Value = FSaveVirtCells ? GetCellEx(ACol, ARow) : GetGridCell(ACol, ARow);
    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, Value);
}

void TProStringGrid::LoadCell(int ACol, int ARow, const QString &Value)
{
    if (!OnLoadCell)
    {
        SetGridCell(ACol, ARow, Value);
        return;
    }
    QString v = Value;
    OnLoadCell(this, ACol, ARow, v);
    SetGridCell(ACol, ARow, v);
}

// ---------------------------------------------------------------------------------------------
// Reading delimited text

void TProStringGrid::LoadFromCSV(const QString &FileName, int MaxRows) { ReadCSVFile(FileName, false, MaxRows); }

void TProStringGrid::InsertFromCSV(const QString &FileName, int MaxRows) { ReadCSVFile(FileName, true, MaxRows); }

void TProStringGrid::LoadFromCSVStream(TStream *AStream, int MaxRows) { ReadCSV(AStream, false, MaxRows); }

void TProStringGrid::ReadCSVFile(const QString &FileName, bool Insert, int MaxRows)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    ReadCSV(&stream, Insert, MaxRows);
}

void TProStringGrid::ReadCSV(TStream *Stream, bool Insert, int MaxRows)
{
    const int startCol = SaveStartCol();
    const QString text = ReadStreamText(Stream);
    const std::vector<TLineSpan> lines = SplitLines(text);
    if (lines.empty())
        throw Exception(QStringLiteral("File is empty"));
    auto lineAt = [&text, &lines](size_t i) {
        return QStringView(text).mid(lines[i].start, lines[i].length);
    };

    int row = Insert ? RowCount() : SaveStartRow();

    TDelimiterScope delimiterScope(FDelimiter);
    if (FDelimiter == QChar(0))
        FDelimiter = DetectDelimiter(lineAt(0), lines.size() > 1 ? lineAt(1) : QStringView());
    const QChar delim = FDelimiter;

    TGridUpdateLock update(this);
    const int fileLines = int(lines.size());
    const int counted = FLoadFirstRow ? fileLines : fileLines - 1;
    if (OnFileProgress)
        SetRowCount(Insert ? RowCount() + fileLines : row + fileLines + FFixedFooters);

    const int hidden = FSaveHiddenCells ? FNumHidden : 0;
    auto growCols = [this, hidden](int c) {
        if (ColCount() < c + 1 - hidden)
            SetColCount(c + 1 - hidden);
    };
    const bool java = FJavaCSV;
    auto store = [this, java](int c, int r, QString &field) {
        if (java)
            TildeToLineBreaks(field);
        else
            VTToLineBreaks(field);
        LoadCell(c, r, field);
    };

    TProgressReporter progress(this, OnFileProgress);
    int read = 0;
    QString oemLine;
    for (size_t i = FLoadFirstRow ? 0 : 1; i < lines.size() && (MaxRows <= 0 || read < MaxRows); ++i)
    {
        QStringView line = lineAt(i);
        if (FOemConvert)
        {
            oemLine = line.toString();
            OEMToText(oemLine);
            line = oemLine;
        }
        if (row >= RowCount() - FFixedFooters)
            SetRowCount(row + 1000);

        int c = startCol;
        qsizetype pos = 0;
        qsizetype d;
        // Fields are cut by index; the line itself is never shortened.
        while ((d = line.indexOf(delim, pos)) >= 0)
        {
            QString field;
            if (line[pos] == DQ)
            {
                const QStringView rest = line.mid(pos + 1);
                const int32_t q = FindClosingQuote(DQ, rest);
                if (q > 0)
                {
                    field = UndoubleChar(DQ, rest.left(q - 1).toString());
                    pos += 1 + q;
                }
                else
                    pos += 1;
                d = line.indexOf(delim, pos);
                if (d < 0)
                {
                    // The closing quote ended the line, or text without a delimiter follows it.
                    store(c, row, field);
                    growCols(c);
                    ++c;
                    break;
                }
            }
            else
                field = line.mid(pos, d - pos).toString();
            store(c, row, field);
            pos = d + 1;
            growCols(c);
            ++c;
        }
        if (pos < line.size())
        {
            QStringView rest = line.mid(pos);
            QString field;
            if (rest[0] == DQ)
            {
                rest = rest.mid(1);
                if (rest.endsWith(DQ))
                    rest.chop(1);
                field = UndoubleChar(DQ, rest.toString());
            }
            else
                field = rest.toString();
            store(c, row, field);
            growCols(c);
        }
        ++row;
        ++read;
        progress.Report(read, counted);
    }

    SetRowCount(row + FFixedFooters);
    FMaxRowCount = RowCount();
    delimiterScope.Restore();
    update.Release();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
}

// ---------------------------------------------------------------------------------------------
// Writing delimited text

void TProStringGrid::SaveToCSV(const QString &FileName, bool Unicode) { WriteCSV(FileName, false, Unicode); }

void TProStringGrid::AppendToCSV(const QString &FileName, bool Unicode) { WriteCSV(FileName, true, Unicode); }

void TProStringGrid::WriteCSV(const QString &FileName, bool Append, bool Unicode)
{
    TStringList lines;
    TEncoding *encoding = Unicode ? TEncoding::UTF8() : TEncoding::ANSI();
    if (Append)
    {
        lines.LoadFromFile(FileName);
        if (!Unicode)
            encoding = lines.Encoding();
    }
    const int hidden = FSaveHiddenCells ? FNumHidden : 0;
    const QChar delim = FDelimiter == QChar(0) ? QChar(',') : FDelimiter;

    TProgressReporter progress(this, OnFileProgress);
    const int startCol = SaveStartCol(), endCol = SaveEndCol() + hidden;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r)
    {
        ExportNotification(esExportNextRow, r);
        QString line;
        for (int d = startCol; d <= endCol; ++d)
        {
            if (d > startCol)
                line += delim;
            QString s;
            SaveCell(FSaveHiddenCells ? d : RealColIndex(d), r, s);
            s = DoubleQuotes(s);
            if (FOemConvert)
                TextToOEM(s);
            bool quoted = false;
            if (FAlwaysQuotes || (!s.contains(delim) && s.contains(DQ)))
            {
                s = DQ + s + DQ;
                quoted = true;
            }
            if (s.isEmpty())
            {
                if (FJavaCSV)
                    s = QStringLiteral("^");
                else if (FQuoteEmptyCells)
                    s = QStringLiteral("\"\"");
            }
            // Every line break is marked, multi-line cells or not: a raw one would split the row.
            if (s.contains(delim) || HasLineBreak(s))
            {
                if (FJavaCSV)
                {
                    LineBreaksToTilde(s);
                    // Unquoted, a delimiter inside the text would split the cell on reading.
                    if (!quoted && s.contains(delim))
                        s = DQ + s + DQ;
                }
                else if (quoted)
                    LineBreaksToVT(s);
                else
                    QuoteCSVMultiLine(s);
            }
            line += s;
        }
        lines.Add(line);
        progress.Report(r, RowCount() - 1);
    }
    ExportNotification(esExportDone, -1);
    lines.SaveToFile(FileName, encoding);
}

// ---------------------------------------------------------------------------------------------
// Fixed-width text

void TProStringGrid::SaveToFixed(const QString &FileName, std::vector<int32_t> &positions)
{
    std::unique_ptr<TFileStream> file;
    try
    {
        file = std::make_unique<TFileStream>(FileName, fmCreate);
    }
    catch (const Exception &)
    {
        throw EProGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
    const int hidden = FSaveHiddenCells ? FNumHidden : 0;
    const int startCol = SaveStartCol(), endCol = SaveEndCol() + hidden;
    auto cellText = [this](int d, int r) {
        QString s;
        SaveCell(FSaveHiddenCells ? d : RealColIndex(d), r, s);
        return s;
    };
    // A missing width is the longest line of the column plus one blank.
    for (int d = startCol + int(positions.size()); d <= endCol; ++d)
    {
        int32_t widest = 0;
        for (int r = 0; r < RowCount(); ++r)
        {
            const QString s = cellText(d, r);
            const std::vector<TLineSpan> parts = SplitLines(s);
            const size_t counted = FMultilinecells ? parts.size() : std::min<size_t>(parts.size(), 1);
            for (size_t i = 0; i < counted; ++i)
                widest = std::max(widest, int32_t(parts[i].length));
        }
        positions.push_back(widest + 1);
    }

    QString text;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r)
    {
        ExportNotification(esExportNextRow, r);
        for (int d = startCol; d <= endCol; ++d)
        {
            QString s = cellText(d, r);
            // The format has no mark for a line break; a raw one would split the row.
            s.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(CR, QChar(' ')).replace(LF, QChar(' '));
            const int32_t width = std::max(positions[size_t(d - startCol)], 0);
            if (s.size() > width)
                s.truncate(width);
            text += s.leftJustified(width, QChar(' '));
        }
        text += QStringLiteral("\r\n");
    }
    ExportNotification(esExportDone, -1);
    const QByteArray bytes = StringToAnsi(text);
    file->WriteBuffer(bytes.constData(), bytes.size());
}

void TProStringGrid::LoadFromFixed(const QString &FileName, std::vector<int32_t> &positions, bool DoTrim, int MaxRows)
{
    std::sort(positions.begin(), positions.end());
    QString text;
    try
    {
        TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
        text = ReadStreamText(&file);
    }
    catch (const EFOpenError &)
    {
        throw EProGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    }
    const int columns = int(positions.size()) - 1;
    if (columns < 1)
        return;
    const std::vector<TLineSpan> lines = SplitLines(text);

    TGridUpdateLock update(this);
    SetColCount(FixedCols() + columns);
    const int startCol = SaveStartCol();
    int row = SaveStartRow();
    int read = 0;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const QStringView line = QStringView(text).mid(lines[i].start, lines[i].length);
        for (int k = 0; k < columns; ++k)
        {
            const qsizetype from = std::max(positions[size_t(k)], 1) - 1;
            const qsizetype to = std::max(positions[size_t(k) + 1], 1) - 1;
            QString field = from < line.size() ? line.mid(from, std::max<qsizetype>(to - from, 0)).toString() : QString();
            if (DoTrim)
                field = Trim(field);
            LoadCell(startCol + k, row, field);
        }
        ++read;
        if (MaxRows != -1 && read >= MaxRows)
            break;
        ++row;
        if (row >= RowCount() && i + 1 < lines.size())
            SetRowCount(RowCount() + 1);
    }
    update.Release();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
}
