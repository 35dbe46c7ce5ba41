// Delimited and fixed-width text: the reader, the writer and the per-cell file conversions.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include "grid/core/ProGridText.h"
#include "grid/core/PsgHTMLE.h"
#include "framework/graphics/RichText.h"

#include "framework/rtl/CodePage.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

std::vector<TLineSpan> SplitLines(QStringView text)
{
    constexpr QChar CR = QChar(13), LF = QChar(10);
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

// A NUL is a character like any other: a cell may hold one.
QString ReadStreamText(TStream *stream)
{
    const int64_t size = std::max<int64_t>(stream->Size() - stream->Position(), 0);
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    bytes.resize(qsizetype(stream->Read(bytes.data(), bytes.size())));
    return TEncoding::DecodeFileText(bytes);
}

namespace
{
constexpr QChar DQ = QChar('"');
constexpr QChar CR = QChar(13);
constexpr QChar LF = QChar(10);

const QChar kCandidates[] = {QChar(','), QChar(';'), QChar('#'), QChar(9), QChar('|'),
                             QChar('@'), QChar('*'), QChar('-'), QChar('+'), QChar('&')};

bool IsCandidate(QChar c) { return std::find(std::begin(kCandidates), std::end(kCandidates), c) != std::end(kCandidates); }

// The line with the text of its quoted fields blanked out: a quote at the start of the line or
// after a candidate opens a field that runs to its closing quote. What a field holds as text
// says nothing about the separator.
QString MaskQuotedFields(QStringView line)
{
    QString r = line.toString();
    qsizetype i = 0;
    while (i < r.size())
    {
        if (r[i] == DQ && (i == 0 || IsCandidate(r[i - 1])))
        {
            const int32_t q = FindClosingQuote(DQ, QStringView(r).mid(i + 1));
            const qsizetype end = q > 0 ? i + q : r.size() - 1;
            for (qsizetype k = i + 1; k < end; ++k)
                r[k] = QChar('x');
            i = end + 1;
        }
        else
            ++i;
    }
    return r;
}

// Candidates in order of preference; on equal counts the earlier one wins.
QChar DetectDelimiter(QStringView line1, QStringView line2)
{
    const QString m1 = MaskQuotedFields(line1), m2 = MaskQuotedFields(line2);
    const QStringView l1(m1), l2(m2);
    QChar found = QChar(0);
    int32_t best = 0;
    for (QChar ch : kCandidates)
    {
        const int32_t n = CountClosingQuotes(ch, l1);
        if (n == CountClosingQuotes(ch, l2) && n > best)
        {
            found = ch;
            best = n;
        }
    }
    if (best == 0)
        for (QChar ch : kCandidates)
        {
            const int32_t n = CountChar(ch, l1);
            if (n == CountChar(ch, l2) && n > best)
            {
                found = ch;
                best = n;
            }
        }
    if (best == 0)
        for (QChar ch : kCandidates)
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
    Value = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    // An empty check box cell goes into the file as its check text.
    if (Value.isEmpty()) {
        if (const TCellGraphic *g = GetCellGraphic(ACol, ARow)) {
            bool checked = false;
            const bool box = g->CellType() == ctCheckBox || g->CellType() == ctTriStateCheckBox;
            if (g->CellType() == ctCheckBox)
                checked = g->CellBoolean();
            else if (g->CellType() == ctTriStateCheckBox)
                checked = g->CellCheckBoxState() == cbChecked;
            if (box) {
                if (checked)
                    GetCheckTrue(ACol, ARow, Value);
                else
                    GetCheckFalse(ACol, ARow, Value);
            }
        }
    }
    const int32_t kind = CellTextKind(Value, true);
    if (!FSaveWithHTML && kind == ctkHTML) {
        Value = StripHTMLText(Value);
    } else if (kind == ctkRichText) {
        if (SaveWithRTF()) {
            Value.remove(QLatin1Char('\r'));
            Value.remove(QLatin1Char('\n'));
        } else {
            // Text that does not read as RTF goes out as it is rather than as nothing.
            try {
                Value = RichTextPlain(RTFToRichText(Value.toLatin1()));
            } catch (const ERichTextError &) {
            }
        }
    }
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
    // Inserted lines take the footer row's place; its texts go back below them at the end.
    QStringList footerTexts;
    const bool keepFooter = Insert && FooterRowShown();
    if (keepFooter) {
        row = RowCount() - 1;
        for (int c = 0; c < ColCount() + FNumHidden; ++c) {
            footerTexts << GetGridCell(c, row);
            SetGridCell(c, row, QString());
        }
    }

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
    const bool java = FJavaCSV;

    TProgressReporter progress(this, OnFileProgress);
    int read = 0;
    QString oemLine;
    // One line's fields, left to right from the start column; reused from line to line.
    std::vector<QString> fields;
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

        fields.clear();
        qsizetype pos = 0;
        qsizetype d;
        // Fields are cut by index; the line itself is never shortened.
        // Without a delimiter the whole line is one field (a NUL in it is text).
        while (delim != QChar(0) && (d = line.indexOf(delim, pos)) >= 0)
        {
            if (line[pos] == DQ)
            {
                QString field;
                const QStringView rest = line.mid(pos + 1);
                const int32_t q = FindClosingQuote(DQ, rest);
                if (q > 0)
                {
                    field = UndoubleChar(DQ, rest.left(q - 1).toString());
                    pos += 1 + q;
                }
                else
                    pos += 1;
                fields.push_back(std::move(field));
                d = line.indexOf(delim, pos);
                // The closing quote ended the line, or text without a delimiter follows it.
                if (d < 0)
                    break;
            }
            else
                fields.push_back(line.mid(pos, d - pos).toString());
            pos = d + 1;
        }
        if (pos < line.size())
        {
            QStringView rest = line.mid(pos);
            if (rest[0] == DQ)
            {
                rest = rest.mid(1);
                if (rest.endsWith(DQ))
                    rest.chop(1);
                fields.push_back(UndoubleChar(DQ, rest.toString()));
            }
            else
                fields.push_back(rest.toString());
        }
        // The columns grow once for the whole line; cells are never cleared by growing.
        const int width = startCol + int(fields.size()) - hidden;
        if (!fields.empty() && ColCount() < width)
            SetColCount(width);
        int c = startCol;
        for (QString &field : fields)
        {
            if (java)
                TildeToLineBreaks(field);
            else
                VTToLineBreaks(field);
            LoadCell(c++, row, field);
        }
        ++row;
        ++read;
        progress.Report(read, counted);
    }

    SetRowCount(row + FFixedFooters);
    FMaxRowCount = RowCount();
    if (keepFooter)
        for (int c = 0; c < footerTexts.size(); ++c)
            SetGridCell(c, RowCount() - 1, footerTexts[c]);
    delimiterScope.Restore();
    update.Release();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
    RecalcFooter();
}

// ---------------------------------------------------------------------------------------------
// Writing delimited text

void TProStringGrid::SaveToCSV(const QString &FileName, bool Unicode) { WriteCSV(FileName, false, Unicode); }

void TProStringGrid::AppendToCSV(const QString &FileName, bool Unicode) { WriteCSV(FileName, true, Unicode); }

void TProStringGrid::WriteCSV(const QString &FileName, bool Append, bool Unicode)
{
    TStringList lines;
    // Without a request for UTF-8, the file is written in the encoding that carries every
    // character (Windows-1252 whenever it can; see TEncoding::EncodeFileText).
    TEncoding *encoding = Unicode ? TEncoding::UTF8() : nullptr;
    if (Append)
    {
        lines.LoadFromFile(FileName);
        if (!Unicode && lines.Encoding() != TEncoding::ANSI())
            encoding = lines.Encoding();
    }
    const int hidden = FSaveHiddenCells ? FNumHidden : 0;
    const QChar delim = FDelimiter == QChar(0) ? QChar(',') : FDelimiter;
    const int startCol = SaveStartCol(), endCol = SaveEndCol() + hidden;

    // quoteCandidates: every field holding a character that delimiter detection counts is
    // quoted, so that a reader detecting the delimiter finds the comma.
    auto field = [&](int d, int r, bool quoteCandidates) {
        QString s;
        SaveCell(FSaveHiddenCells ? d : RealColIndex(d), r, s);
        // Line breaks, and marks held as text, become marks; such a field is always quoted.
        const bool marked = NeedsLineMarks(s, FJavaCSV);
        if (marked)
        {
            if (FJavaCSV)
                LineBreaksToTilde(s);
            else
                LineBreaksToVT(s);
        }
        s = DoubleQuotes(s);
        if (FOemConvert)
            TextToOEM(s);
        const bool enclose = FAlwaysQuotes || s.contains(delim) || s.contains(DQ) || (marked && !FJavaCSV) ||
                             (quoteCandidates && std::any_of(s.begin(), s.end(), IsCandidate));
        if (enclose)
            return DQ + s + DQ;
        if (s.isEmpty())
        {
            if (FJavaCSV)
                return QStringLiteral("^");
            if (FQuoteEmptyCells)
                return QStringLiteral("\"\"");
        }
        return s;
    };
    auto rowLine = [&](int r, bool quoteCandidates) {
        QString line;
        for (int d = startCol; d <= endCol; ++d)
        {
            if (d > startCol)
                line += delim;
            line += field(d, r, quoteCandidates);
        }
        return line;
    };
    // A reader left to detect the delimiter looks at the first two lines only.
    bool quoteCandidates = false;
    if (FDelimiter == QChar(0) && SaveStartRow() <= SaveEndRow())
    {
        const QString l1 = rowLine(SaveStartRow(), false);
        const QString l2 = SaveStartRow() < SaveEndRow() ? rowLine(SaveStartRow() + 1, false) : QString();
        const QChar found = DetectDelimiter(l1, l2);
        quoteCandidates = found != QChar(',') && !(found == QChar(0) && startCol == endCol);
    }

    TProgressReporter progress(this, OnFileProgress);
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r)
    {
        ExportNotification(esExportNextRow, r);
        lines.Add(rowLine(r, quoteCandidates));
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
    // Line breaks (and marks held as text) go into the file as the delimited text's marks, so
    // that a cell stays on its row and reads back whole.
    auto cellText = [this](int d, int r) {
        QString s;
        SaveCell(FSaveHiddenCells ? d : RealColIndex(d), r, s);
        LineBreaksToVT(s);
        return s;
    };
    // A missing width is the longest cell of the column, as written, plus one blank.
    for (int d = startCol + int(positions.size()); d <= endCol; ++d)
    {
        int32_t widest = 0;
        for (int r = 0; r < RowCount(); ++r)
            widest = std::max(widest, int32_t(cellText(d, r).size()));
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
            const int32_t width = std::max(positions[size_t(d - startCol)], 0);
            if (s.size() > width)
                s.truncate(width);
            text += s.leftJustified(width, QChar(' '));
        }
        text += QStringLiteral("\r\n");
    }
    ExportNotification(esExportDone, -1);
    const QByteArray bytes = TEncoding::EncodeFileText(text);
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
            VTToLineBreaks(field);
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
    RecalcFooter();
}
