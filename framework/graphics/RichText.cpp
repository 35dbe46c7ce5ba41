#include "framework/graphics/RichText.h"
#include "framework/rtl/CodePage.h"
#include <QTextBlock>
#include <QTextCursor>
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

QString RichTextPlain(const TRichText &Runs)
{
    QString s;
    for (const TRichRun &r : Runs)
        s += r.Text;
    return s;
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {

void appendEscaped(QByteArray &out, const QString &text)
{
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\n')
            out += "\\par\r\n";
        else if (u == '\t')
            out += "\\tab ";
        else if (u == '\\' || u == '{' || u == '}')
            out += '\\', out += char(u);
        else if (u >= 0x20 && u < 0x80)
            out += char(u);
        else if (u >= 0x80 && IsAnsiRepresentable(QString(ch)))
            out += QByteArray("\\'") + QByteArray::number(uint8_t(CharToAnsi(ch)), 16).rightJustified(2, '0');
        else
            out += "\\u" + QByteArray::number(int16_t(u)) + '?';
    }
}

// A font name ends at a ";" in the font table, so one held as text is written as an escape;
// so are control characters, which the reader would take for formatting there.
void appendFontName(QByteArray &out, const QString &name)
{
    for (QChar ch : name) {
        const char16_t u = ch.unicode();
        if (u == ';')
            out += "\\'3b";
        else if (u < 0x20)
            out += "\\u" + QByteArray::number(int(u)) + '?';
        else
            appendEscaped(out, QString(ch));
    }
}

// Sizes beyond what a font can have are clamped on reading and writing alike.
constexpr int kMaxHalfPoints = 3276;

} // namespace

QByteArray RichTextToRTF(const TRichText &Runs)
{
    std::vector<QString> fonts;
    std::vector<TColor> colors;
    auto indexOf = [](auto &vec, const auto &v) {
        auto it = std::find(vec.begin(), vec.end(), v);
        if (it == vec.end()) {
            vec.push_back(v);
            return int(vec.size()) - 1;
        }
        return int(it - vec.begin());
    };
    for (const TRichRun &r : Runs) {
        if (!r.FontName.isEmpty()) indexOf(fonts, r.FontName);
        if (r.Color != clDefault) indexOf(colors, r.Color);
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252";
    if (!fonts.empty()) {
        out += "{\\fonttbl";
        for (size_t i = 0; i < fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(qulonglong(i)) + "\\fnil ";
            appendFontName(out, fonts[i]);
            out += ";}";
        }
        out += '}';
    }
    if (!colors.empty()) {
        out += "{\\colortbl ;";
        for (TColor c : colors) {
            TColorRef rgb = ColorToRGB(c);
            out += "\\red" + QByteArray::number(GetRValue(rgb)) + "\\green" + QByteArray::number(GetGValue(rgb)) +
                   "\\blue" + QByteArray::number(GetBValue(rgb)) + ';';
        }
        out += '}';
    }
    out += "\r\n";
    for (const TRichRun &r : Runs) {
        out += "\\plain";
        if (!r.FontName.isEmpty()) out += "\\f" + QByteArray::number(indexOf(fonts, r.FontName));
        if (r.FontSize > 0) out += "\\fs" + QByteArray::number(std::min(r.FontSize, kMaxHalfPoints / 2) * 2);
        if (r.Style.Contains(fsBold)) out += "\\b";
        if (r.Style.Contains(fsItalic)) out += "\\i";
        if (r.Style.Contains(fsUnderline)) out += "\\ul";
        if (r.Style.Contains(fsStrikeOut)) out += "\\strike";
        if (r.Color != clDefault) out += "\\cf" + QByteArray::number(indexOf(colors, r.Color) + 1);
        if (r.Vertical == rvSuperscript) out += "\\super";
        if (r.Vertical == rvSubscript) out += "\\sub";
        out += ' ';
        appendEscaped(out, r.Text);
    }
    out += "}";
    return out;
}

// ---------------------------------------------------------------------------------------------
// Reader

namespace {

enum class Dest { Text, FontTable, ColorTable, Skip };

struct State
{
    int font = -1, halfPoints = 0, color = 0, uc = 1;
    TFontStyles style;
    TRichVertical vert = rvNormal;
    Dest dest = Dest::Text;
};

class RtfReader
{
public:
    explicit RtfReader(const QByteArray &d) : data_(d) {}

    TRichText read()
    {
        qsizetype i = 0;
        while (i < data_.size() && isspace(uint8_t(data_[i])))
            ++i;
        if (!data_.mid(i).startsWith("{\\rtf"))
            fail(QStringLiteral("the data is not RTF (it must start with \"{\\rtf\")"));
        pos_ = i;
        while (pos_ < data_.size()) {
            const char c = data_[pos_++];
            const bool groupStart = c == '{';
            if (c != '\\')
                starred_ = false;
            if (c == '{') {
                stack_.push_back(stack_.empty() ? State() : stack_.back());
                if (stack_.size() > 1000)
                    fail(QStringLiteral("groups are nested too deeply"));
            } else if (c == '}') {
                if (stack_.empty())
                    fail(QStringLiteral("a group is closed that was never opened"));
                stack_.pop_back();
                if (stack_.empty()) {
                    for (qsizetype j = pos_; j < data_.size(); ++j)
                        if (!isspace(uint8_t(data_[j])) && data_[j] != 0)
                            fail(QStringLiteral("there is data after the end of the document"));
                    return runs_;
                }
            } else if (c == '\\') {
                control(groupStart_);
            } else if (c != '\r' && c != '\n') {
                if (stack_.empty())
                    fail(QStringLiteral("text outside the document group"));
                character(AnsiToString(QByteArray(1, c)));
            }
            // Only "{" followed directly by "\*" opens an ignorable destination.
            groupStart_ = groupStart;
        }
        fail(QStringLiteral("unexpected end of the data: %1 group(s) not closed").arg(stack_.size()));
    }

private:
    [[noreturn]] void fail(const QString &why) { throw ERichTextError(QStringLiteral("Invalid RTF: %1").arg(why)); }

    State &st() { return stack_.back(); }

    void control(bool atGroupStart)
    {
        if (pos_ >= data_.size())
            fail(QStringLiteral("the data ends after a backslash"));
        const char c = data_[pos_++];
        const bool starred = starred_;
        starred_ = false;
        if (isalpha(uint8_t(c))) {
            QByteArray word(1, c);
            while (pos_ < data_.size() && isalpha(uint8_t(data_[pos_])))
                word += data_[pos_++];
            bool hasParam = false;
            long param = 0;
            qsizetype start = pos_;
            if (pos_ < data_.size() && data_[pos_] == '-')
                ++pos_;
            while (pos_ < data_.size() && isdigit(uint8_t(data_[pos_])) && pos_ - start < 11)
                ++pos_;
            if (pos_ > start && !(pos_ - start == 1 && data_[start] == '-')) {
                hasParam = true;
                // Eleven digits may exceed an int: clamp, so that no field narrows it.
                param = std::clamp(data_.mid(start, pos_ - start).toLong(), -2147483647L, 2147483647L);
            } else {
                pos_ = start;
            }
            if (pos_ < data_.size() && data_[pos_] == ' ')
                ++pos_;
            word_(word, hasParam, param, starred);
            return;
        }
        switch (c) {
        case '\'': {
            bool ok = false;
            const int v = data_.mid(pos_, 2).toInt(&ok, 16);
            if (!ok || pos_ + 2 > data_.size())
                fail(QStringLiteral("a \\' escape is not followed by two hexadecimal digits"));
            pos_ += 2;
            character(AnsiToString(QByteArray(1, char(v))), true);
            break;
        }
        case '\\': case '{': case '}': character(QString(QLatin1Char(c)), true); break;
        case '~': character(QString(QChar(0xA0))); break;
        case '_': character(QString(QChar(0x2011))); break;
        case '*': starred_ = atGroupStart && !stack_.empty(); break;
        case '\r': case '\n': character(QStringLiteral("\n")); break;
        default: break;
        }
    }

    void word_(const QByteArray &w, bool hasParam, long p, bool starred)
    {
        if (stack_.empty())
            fail(QStringLiteral("a control word outside the document group"));
        State &s = st();
        const bool on = !hasParam || p != 0;
        static const std::map<QByteArray, Dest> destinations = {
            {"fonttbl", Dest::FontTable}, {"colortbl", Dest::ColorTable}, {"stylesheet", Dest::Skip},
            {"info", Dest::Skip}, {"pict", Dest::Skip}, {"header", Dest::Skip}, {"footer", Dest::Skip},
            {"object", Dest::Skip}, {"listtable", Dest::Skip}, {"listoverridetable", Dest::Skip},
            {"rsidtbl", Dest::Skip}, {"generator", Dest::Skip}, {"fldinst", Dest::Skip},
            {"themedata", Dest::Skip}, {"colorschememapping", Dest::Skip}, {"latentstyles", Dest::Skip},
            {"datastore", Dest::Skip}, {"xmlnstbl", Dest::Skip}, {"revtbl", Dest::Skip}};
        auto d = destinations.find(w);
        if (d != destinations.end()) {
            s.dest = d->second;
            starred_ = false;
            return;
        }
        static const std::set<QByteArray> formatting = {
            "plain", "f", "fs", "b", "i", "ul", "ulnone", "strike", "cf", "super", "sub", "nosupersub",
            "uc", "u", "par", "line", "tab", "lquote", "rquote", "ldblquote", "rdblquote", "bullet",
            "endash", "emdash", "red", "green", "blue"};
        if (starred && !formatting.count(w)) {
            // An ignorable destination we do not know; a word we know as formatting is no
            // destination and keeps the group's text.
            s.dest = Dest::Skip;
            return;
        }
        if (s.dest == Dest::ColorTable) {
            if (w == "red") pendingColor_[0] = int(p);
            else if (w == "green") pendingColor_[1] = int(p);
            else if (w == "blue") pendingColor_[2] = int(p);
            colorSet_ = true;
            return;
        }
        if (s.dest == Dest::FontTable) {
            if (w == "f") { fontDef_ = int(p); fontName_.clear(); }
            else if (w == "uc") s.uc = int(std::max(0L, p));
            else if (w == "u") { character(QString(QChar(char16_t(p < 0 ? p + 65536 : p))), true); skip_ = s.uc; }
            return;
        }
        if (s.dest == Dest::Skip)
            return;
        if (w == "plain") { s.font = -1; s.halfPoints = 0; s.style.Clear(); s.color = 0; s.vert = rvNormal; }
        else if (w == "f") s.font = int(p);
        else if (w == "fs") s.halfPoints = int(std::clamp(p, 0L, long(kMaxHalfPoints)));
        else if (w == "b") on ? s.style.Include(fsBold) : s.style.Exclude(fsBold);
        else if (w == "i") on ? s.style.Include(fsItalic) : s.style.Exclude(fsItalic);
        else if (w == "ul") on ? s.style.Include(fsUnderline) : s.style.Exclude(fsUnderline);
        else if (w == "ulnone") s.style.Exclude(fsUnderline);
        else if (w == "strike") on ? s.style.Include(fsStrikeOut) : s.style.Exclude(fsStrikeOut);
        else if (w == "cf") s.color = int(p);
        else if (w == "super") s.vert = rvSuperscript;
        else if (w == "sub") s.vert = rvSubscript;
        else if (w == "nosupersub") s.vert = rvNormal;
        else if (w == "uc") s.uc = int(std::max(0L, p));
        else if (w == "u") { character(QString(QChar(char16_t(p < 0 ? p + 65536 : p))), true); skip_ = s.uc; }
        else if (w == "par" || w == "line") character(QStringLiteral("\n"));
        else if (w == "tab") character(QStringLiteral("\t"));
        else if (w == "lquote") character(QString(QChar(0x2018)));
        else if (w == "rquote") character(QString(QChar(0x2019)));
        else if (w == "ldblquote") character(QString(QChar(0x201C)));
        else if (w == "rdblquote") character(QString(QChar(0x201D)));
        else if (w == "bullet") character(QString(QChar(0x2022)));
        else if (w == "endash") character(QString(QChar(0x2013)));
        else if (w == "emdash") character(QString(QChar(0x2014)));
    }

    // Literal: written as an escape, so never a separator of the font or colour table.
    void character(const QString &ch, bool literal = false)
    {
        if (stack_.empty())
            fail(QStringLiteral("text outside the document group"));
        if (skip_ > 0 && ch != QLatin1String("\n")) {
            --skip_;
            return;
        }
        const State &s = st();
        switch (s.dest) {
        case Dest::Skip: return;
        case Dest::FontTable:
            if (ch == QLatin1String(";") && !literal) {
                if (fontDef_ >= 0) fonts_[fontDef_] = fontName_.trimmed();
                fontName_.clear();
            } else {
                fontName_ += ch;
            }
            return;
        case Dest::ColorTable:
            if (ch == QLatin1String(";")) {
                colors_.push_back(colorSet_ ? TColor(RGB(uint8_t(pendingColor_[0]), uint8_t(pendingColor_[1]), uint8_t(pendingColor_[2]))) : clDefault);
                pendingColor_[0] = pendingColor_[1] = pendingColor_[2] = 0;
                colorSet_ = false;
            }
            return;
        case Dest::Text: break;
        }
        TRichRun r;
        auto f = fonts_.find(s.font);
        r.FontName = f == fonts_.end() ? QString() : f->second;
        r.FontSize = s.halfPoints / 2;
        r.Style = s.style;
        r.Color = (s.color > 0 && s.color < int(colors_.size())) ? colors_[size_t(s.color)] : clDefault;
        r.Vertical = s.vert;
        if (!runs_.empty() && runs_.back().SameFormat(r)) {
            runs_.back().Text += ch;
        } else {
            r.Text = ch;
            runs_.push_back(r);
        }
    }

    const QByteArray &data_;
    qsizetype pos_ = 0;
    std::vector<State> stack_;
    TRichText runs_;
    std::map<int, QString> fonts_;
    std::vector<TColor> colors_;
    int fontDef_ = -1;
    QString fontName_;
    int pendingColor_[3] = {0, 0, 0};
    bool colorSet_ = false;
    bool starred_ = false;
    bool groupStart_ = false;
    int skip_ = 0;
};

} // namespace

TRichText RTFToRichText(const QByteArray &Rtf)
{
    return RtfReader(Rtf).read();
}

// ---------------------------------------------------------------------------------------------
// QTextDocument

void RichTextToDocument(const TRichText &Runs, QTextDocument *Document)
{
    Document->clear();
    QTextCursor cur(Document);
    for (const TRichRun &r : Runs) {
        QTextCharFormat f;
        if (!r.FontName.isEmpty()) f.setFontFamilies(QStringList{r.FontName});
        if (r.FontSize > 0) f.setFontPointSize(r.FontSize);
        if (r.Style.Contains(fsBold)) f.setFontWeight(QFont::Bold);
        if (r.Style.Contains(fsItalic)) f.setFontItalic(true);
        if (r.Style.Contains(fsUnderline)) f.setFontUnderline(true);
        if (r.Style.Contains(fsStrikeOut)) f.setFontStrikeOut(true);
        if (r.Color != clDefault) f.setForeground(ColorToQColor(r.Color));
        if (r.Vertical == rvSuperscript) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        if (r.Vertical == rvSubscript) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        const QStringList parts = r.Text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                cur.insertBlock(QTextBlockFormat(), f);
            cur.insertText(parts[i], f);
        }
    }
}

TRichText DocumentToRichText(const QTextDocument *Document)
{
    TRichText runs;
    auto add = [&](const QString &text, const QTextCharFormat &f) {
        TRichRun r;
        r.FontName = f.fontFamilies().toStringList().value(0);
        r.FontSize = f.hasProperty(QTextFormat::FontPointSize) ? int(f.fontPointSize()) : 0;
        if (f.fontWeight() >= QFont::Bold) r.Style.Include(fsBold);
        if (f.fontItalic()) r.Style.Include(fsItalic);
        if (f.fontUnderline()) r.Style.Include(fsUnderline);
        if (f.fontStrikeOut()) r.Style.Include(fsStrikeOut);
        if (f.hasProperty(QTextFormat::ForegroundBrush)) r.Color = QColorToColor(f.foreground().color());
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) r.Vertical = rvSuperscript;
        if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) r.Vertical = rvSubscript;
        if (!runs.empty() && runs.back().SameFormat(r)) {
            runs.back().Text += text;
        } else {
            r.Text = text;
            runs.push_back(r);
        }
    };
    for (QTextBlock b = Document->begin(); b.isValid(); b = b.next()) {
        if (b != Document->begin()) {
            // The paragraph break keeps the format of the text before it.
            if (runs.empty())
                add(QStringLiteral("\n"), b.charFormat());
            else
                runs.back().Text += QLatin1Char('\n');
        }
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid())
                add(it.fragment().text(), it.fragment().charFormat());
    }
    return runs;
}

void DrawRichText(TCanvas *Canvas, const TRichText &Runs, const TRect &R)
{
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    if (!p || R.Width() <= 0 || R.Height() <= 0)
        return;
    QTextDocument doc;
    doc.setDocumentMargin(0);
    doc.setDefaultFont(Canvas->Font()->ToQFont());
    RichTextToDocument(Runs, &doc);
    doc.setTextWidth(R.Width());
    p->save();
    p->translate(R.Left, R.Top);
    // Runs without a colour of their own take the canvas's font colour.
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, ColorToQColor(Canvas->Font()->Color()));
    ctx.clip = QRectF(0, 0, R.Width(), R.Height());
    p->setClipRect(ctx.clip, Qt::IntersectClip);
    doc.documentLayout()->draw(p, ctx);
    p->restore();
}

TSize RichTextExtent(TCanvas *Canvas, const TRichText &Runs, int Width)
{
    QTextDocument doc;
    doc.setDocumentMargin(0);
    if (Canvas)
        doc.setDefaultFont(Canvas->Font()->ToQFont());
    RichTextToDocument(Runs, &doc);
    if (Width > 0)
        doc.setTextWidth(Width);
    else
        doc.setTextWidth(std::ceil(doc.idealWidth()));
    const QSizeF sz = doc.size();
    return TSize{int32_t(std::ceil(Width > 0 ? doc.idealWidth() : sz.width())), int32_t(std::ceil(sz.height()))};
}
