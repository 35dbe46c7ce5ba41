#include "grid/core/PsgHTMLE.h"

#include "framework/graphics/Themes.h"
#include "framework/os/ShellIcons.h"
#include "framework/rtl/SysUtils.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>

namespace
{
struct TEntity
{
    char16_t Ch;
    const char *Name;
};

// Only the first 51 entries are encoded and decoded.
constexpr TEntity kEntities[55] = {
    {0x00E9, "&eacute;"}, {0x00E8, "&egrave;"}, {0x00EB, "&euml;"},   {0x00EA, "&ecirc;"},  {0x00F3, "&oacute;"},
    {0x00F2, "&ograve;"}, {0x00F6, "&ouml;"},   {0x00F4, "&ocirc;"},  {0x00ED, "&iacute;"}, {0x00EC, "&igrave;"},
    {0x00EF, "&iuml;"},   {0x00EE, "&icirc;"},  {0x00FA, "&uacute;"}, {0x00F9, "&ugrave;"}, {0x00FC, "&uuml;"},
    {0x00FB, "&ucirc;"},  {0x00E1, "&aacute;"}, {0x00E0, "&agrave;"}, {0x00E4, "&auml;"},   {0x00E2, "&acirc;"},
    {0x00C9, "&Eacute;"}, {0x00C8, "&Egrave;"}, {0x00CB, "&Euml;"},   {0x00CA, "&Ecirc;"},  {0x00D3, "&Oacute;"},
    {0x00D2, "&Ograve;"}, {0x00D6, "&Ouml;"},   {0x00D4, "&Ocirc;"},  {0x00CD, "&Iacute;"}, {0x00CC, "&Igrave;"},
    {0x00CF, "&Iuml;"},   {0x00CE, "&Icirc;"},  {0x00DA, "&Uacute;"}, {0x00D9, "&Ugrave;"}, {0x00DC, "&Uuml;"},
    {0x00DB, "&Ucirc;"},  {0x00C1, "&Aacute;"}, {0x00C0, "&Agrave;"}, {0x00C4, "&Auml;"},   {0x00C2, "&Acirc;"},
    {0x00E7, "&ccedil;"}, {0x00C7, "&Ccedil;"}, {0x00F8, "&oslash;"}, {0x00D8, "&Oslash;"}, {0x00E5, "&aring;"},
    {0x00C5, "&Aring;"},  {0x00A9, "&copy;"},   {0x00AE, "&reg;"},    {0x20AC, "&euro;"},   {0x00AB, "&laquo;"},
    {0x00BB, "&raquo;"},  {0x00E3, "&atilde;"}, {0x00C3, "&Atilde;"}, {0x00F5, "&otilde;"}, {0x00D5, "&Otilde"},
};
constexpr int kUsedEntities = 51;

QChar upperAscii(QChar c) { return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QChar(c.unicode() - 32) : c; }

QString upperAscii(QStringView s)
{
    QString r(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i)
        r[i] = upperAscii(s[i]);
    return r;
}

// Replaces every occurrence of an ASCII case-insensitive pattern.
void replaceAllIgnoreCase(QString &s, const QString &find, const QString &with)
{
    s.replace(find, with, Qt::CaseInsensitive);
}

// The text between the first two double quotes after Key in the upper-cased tag; the value
// is taken from Source (the same tag in its own case, or the upper-cased one).
bool quotedAfter(const QString &Upper, const QString &Source, const QString &Key, QString &Value, qsizetype From = 0)
{
    const qsizetype k = Upper.indexOf(Key, From);
    if (k < 0)
        return false;
    const qsizetype q1 = Upper.indexOf(QLatin1Char('"'), k + Key.size());
    if (q1 < 0) {
        Value.clear();
        return true;
    }
    const qsizetype q2 = Upper.indexOf(QLatin1Char('"'), q1 + 1);
    Value = q2 < 0 ? Source.mid(q1 + 1) : Source.mid(q1 + 1, q2 - q1 - 1);
    return true;
}

struct TControlTag
{
    QString Type, ID, Value, Width, Height, Prop, MaxLen;
    qsizetype Start = 0; // index of the tag's "<"
    qsizetype End = 0;   // index after its ">"
};

// Calls Visit for every "<CONTROL " tag; stops when Visit returns false.
template <typename F>
void walkControls(const QString &Text, F &&Visit)
{
    const QString upper = upperAscii(Text);
    qsizetype from = 0;
    while (true) {
        const qsizetype p = upper.indexOf(QLatin1String("<CONTROL "), from);
        if (p < 0)
            return;
        const qsizetype gt = upper.indexOf(QLatin1Char('>'), p + 1);
        TControlTag t;
        t.Start = p;
        t.End = gt < 0 ? Text.size() : gt + 1;
        ParseHTMLControlTag(Text.mid(p + 1, t.End - p - 1), t.Type, t.ID, t.Value, t.Width, t.Height, t.Prop,
                            t.MaxLen);
        if (!Visit(t))
            return;
        from = t.End;
    }
}

// 1-based index of the N-th visible character, 0 when there is none.
int32_t visiblePosition(const QString &Text, int32_t N)
{
    int32_t visible = 0;
    bool inTag = false;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (inTag)
            inTag = c != QLatin1Char('>');
        else if (c == QLatin1Char('<'))
            inTag = true;
        else if (++visible == N)
            return int32_t(i) + 1;
    }
    return 0;
}

bool isEditable(const TControlTag &t)
{
    return t.Type != QLatin1String("BUTTON") && t.Type != QLatin1String("CHECK") && t.Type != QLatin1String("RADIO");
}

TColor gHighlightColor = clHighlight;
TColor gHighlightTextColor = clHighlightText;
} // namespace

// ---------------------------------------------------------------------------------------------
// Text utilities

bool ReplaceFirstIgnoreCase(const QString &Find, const QString &Replacement, QString &Text)
{
    const qsizetype p = Text.indexOf(Find, 0, Qt::CaseInsensitive);
    if (Find.isEmpty() || p < 0)
        return false;
    Text.replace(p, Find.size(), Replacement);
    return true;
}

QString DecodeHTMLEntities(const QString &Text)
{
    QString s = Text;
    static const char *const basic[4][2] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}};
    for (const auto &b : basic) {
        const QString find = QLatin1String(b[0]);
        while (s.contains(find))
            ReplaceFirstIgnoreCase(find, QLatin1String(b[1]), s);
    }
    // Exact case: "&Eacute;" and "&eacute;" are different letters.
    for (int i = 0; i < kUsedEntities; ++i)
        s.replace(QLatin1String(kEntities[i].Name), QString(QChar(kEntities[i].Ch)));
    return s;
}

QString EncodeHTMLEntities(const QString &Text)
{
    QString s = Text;
    s.replace(QLatin1Char('&'), QLatin1String("*amp;"));
    s.replace(QLatin1String("*amp;"), QLatin1String("&amp;"));
    s.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    for (int i = 0; i < kUsedEntities; ++i)
        s.replace(QChar(kEntities[i].Ch), QLatin1String(kEntities[i].Name));
    return s;
}

QString EncodeHTMLSpaces(const QString &Text)
{
    QString s = Text;
    s.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
    return s;
}

QString NeutraliseHashTags(const QString &Text)
{
    // One walk: each "<#" loses its "<" and owes the removal of the next ">" still standing.
    QString out;
    out.reserve(Text.size());
    int owed = 0;
    for (QChar c : Text) {
        if (c == QLatin1Char('#') && !out.isEmpty() && out.back() == QLatin1Char('<')) {
            out.chop(1);
            ++owed;
        } else if (c == QLatin1Char('>') && owed > 0) {
            --owed;
            continue;
        }
        out += c;
    }
    return out;
}

QString LineBreaksToHTML(const QString &Text, bool AddBreaks)
{
    QString out;
    out.reserve(Text.size());
    for (QChar c : Text) {
        if (c == QLatin1Char('\r')) {
            if (AddBreaks)
                out += QLatin1String("<BR>");
        } else if (c != QLatin1Char('\n')) {
            out += c;
        }
    }
    return out;
}

QString PasswordMask(const QString &Text) { return QString(Text.size(), QLatin1Char('*')); }

QString StripHTMLText(const QString &Text)
{
    QString s = Text;
    replaceAllIgnoreCase(s, QStringLiteral("<BR>"), QStringLiteral("\r\n"));
    replaceAllIgnoreCase(s, QStringLiteral("<HR>"), QStringLiteral("\r\n"));
    QString out;
    out.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype lt = s.indexOf(QLatin1Char('<'), i);
        if (lt < 0)
            break;
        out += QStringView(s).mid(i, lt - i);
        const qsizetype gt = s.indexOf(QLatin1Char('>'), lt);
        if (gt < 0) {
            out += QStringView(s).mid(lt);
            return out;
        }
        i = gt + 1;
    }
    out += QStringView(s).mid(i);
    return out;
}

QString StripHTMLTags(const QString &Text)
{
    QString out;
    out.reserve(Text.size());
    qsizetype i = 0;
    while (true) {
        const qsizetype lt = Text.indexOf(QLatin1Char('<'), i);
        const qsizetype gt = Text.indexOf(QLatin1Char('>'), i);
        if (lt < 0 || gt <= lt)
            break;
        out += QStringView(Text).mid(i, lt - i);
        i = gt + 1;
    }
    out += QStringView(Text).mid(i);
    return out;
}

int32_t HTMLVisibleIndex(const QString &Text, int32_t N)
{
    if (N <= 1)
        return 1;
    int32_t visible = 0;
    bool inTag = false;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (inTag) {
            inTag = c != QLatin1Char('>');
            continue;
        }
        if (c == QLatin1Char('<')) {
            inTag = true;
            continue;
        }
        if (++visible == N - 1)
            return int32_t(i) + 2;
    }
    return 0;
}

void HighlightHTMLText(const QString &Text, const QString &SearchText, const QString &Tag, QString &Result,
                       bool CaseSensitive)
{
    QString text = Text, search = SearchText;
    QString plain = StripHTMLTags(text);
    if (text.contains(search) && (plain.contains(QLatin1Char('<')) || plain.contains(QLatin1Char('>')))) {
        for (QString *s : {&plain, &search}) {
            s->replace(QLatin1Char('<'), QLatin1String("&lt;"));
            s->replace(QLatin1Char('>'), QLatin1String("&gt;"));
        }
        text = plain;
    }
    Result = text;
    // An empty search text matches nowhere (it would otherwise match everywhere forever).
    if (search.isEmpty())
        return;
    const QString hay = CaseSensitive ? plain : plain.toUpper();
    const QString needle = CaseSensitive ? search : search.toUpper();
    const QString open = QLatin1Char('<') + Tag + QLatin1Char('>');
    const QString close = QLatin1String("</") + Tag + QLatin1Char('>');
    qsizetype offset = 0;
    while (true) {
        const qsizetype m = hay.indexOf(needle, offset);
        if (m < 0)
            break;
        const int32_t p = int32_t(m) + 1;
        // Directly before the first matched character, so that a match right after another
        // opens after the other's closing mark.
        const int32_t a = visiblePosition(text, p);
        if (a > 0)
            text.insert(a - 1, open);
        const int32_t b = HTMLVisibleIndex(text, p + int32_t(search.size()));
        if (b > 0)
            text.insert(b - 1, close);
        offset = p + search.size() - 1;
    }
    Result = text;
}

QString UnHighlightHTMLText(const QString &Text, const QString &Tag)
{
    QString s = Text;
    replaceAllIgnoreCase(s, QLatin1Char('<') + Tag + QLatin1Char('>'), QString());
    replaceAllIgnoreCase(s, QLatin1String("</") + Tag + QLatin1Char('>'), QString());
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    return s;
}

void ParseHTMLControlTag(const QString &TagText, QString &CType, QString &CID, QString &CValue, QString &CWidth,
                         QString &CHeight, QString &CProp, QString &CMaxLen)
{
    const QString upper = upperAscii(TagText);
    QString *outs[7] = {&CType, &CWidth, &CHeight, &CID, &CValue, &CProp, &CMaxLen};
    static const char *const keys[7] = {"TYPE=", "WIDTH=", "HEIGHT=", "ID=", "VALUE=", "PROP=", "MAXLEN="};
    for (int i = 0; i < 7; ++i) {
        outs[i]->clear();
        quotedAfter(upper, TagText, QLatin1String(keys[i]), *outs[i]);
    }
    CType = upperAscii(CType);
    CValue = DecodeHTMLEntities(CValue);
    CProp = DecodeHTMLEntities(CProp);
}

bool HasHTMLControl(const QString &Text) { return upperAscii(Text).contains(QLatin1String("<CONTROL")); }

QString GetNextHTMLControlID(const QString &Text, const QString &ID)
{
    QString result;
    bool passed = ID.isEmpty();
    walkControls(Text, [&](const TControlTag &t) {
        if (passed && isEditable(t)) {
            result = t.ID;
            return false;
        }
        if (t.ID == ID)
            passed = true;
        return true;
    });
    return result;
}

bool GetHTMLControlValue(const QString &Text, const QString &ID, QString &Value)
{
    bool found = false;
    walkControls(Text, [&](const TControlTag &t) {
        if (t.ID != ID)
            return true;
        Value = t.Value;
        found = true;
        return false;
    });
    return found;
}

QString GetHTMLControlProp(const QString &Text, const QString &ID)
{
    QString prop;
    walkControls(Text, [&](const TControlTag &t) {
        if (t.ID != ID)
            return true;
        prop = t.Prop;
        return false;
    });
    return prop;
}

int32_t GetHTMLControlMaxLen(const QString &Text, const QString &ID)
{
    int32_t len = 0;
    walkControls(Text, [&](const TControlTag &t) {
        if (t.ID != ID)
            return true;
        len = StrToIntDef(t.MaxLen, 0);
        return false;
    });
    return len;
}

bool SetHTMLControlValue(QString &Text, const QString &ID, const QString &Value)
{
    bool found = false;
    walkControls(Text, [&](const TControlTag &t) {
        if (t.ID != ID)
            return true;
        auto attr = [](const char *key, const QString &v) {
            return QLatin1Char(' ') + QLatin1String(key) + QLatin1String("=\"") + v + QLatin1Char('"');
        };
        QString tag = QStringLiteral("CONTROL");
        tag += attr("ID", ID) + attr("VALUE", EncodeHTMLEntities(Value)) + attr("WIDTH", t.Width) +
               attr("TYPE", t.Type);
        if (!t.Height.isEmpty())
            tag += attr("HEIGHT", t.Height);
        if (!t.Prop.isEmpty())
            tag += attr("PROP", EncodeHTMLEntities(t.Prop));
        if (!t.MaxLen.isEmpty())
            tag += attr("MAXLEN", t.MaxLen);
        tag += QLatin1Char('>');
        Text = Text.left(t.Start + 1) + tag + Text.mid(t.End);
        found = true;
        return false;
    });
    return found;
}

QString ClearHTMLRadioGroup(const QString &Text)
{
    QStringList ids;
    walkControls(Text, [&](const TControlTag &t) {
        if (t.Type == QLatin1String("RADIO"))
            ids << t.ID;
        return true;
    });
    QString s = Text;
    for (const QString &id : ids)
        SetHTMLControlValue(s, id, QStringLiteral("FALSE"));
    return s;
}

// ---------------------------------------------------------------------------------------------
// Renderer

void SetHTMLHighlightColors(TColor HighlightColor, TColor HighlightTextColor)
{
    gHighlightColor = HighlightColor;
    gHighlightTextColor = HighlightTextColor;
}

TColor HTMLHighlightColor() { return gHighlightColor; }
TColor HTMLHighlightTextColor() { return gHighlightTextColor; }

namespace
{
struct TColorName
{
    const char *Name;
    TColor Color;
};

constexpr TColorName kColorNames[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", TColor(0xFF000001)},
    {"clactivecaption", TColor(0xFF000002)},
    {"clinactivecaption", TColor(0xFF000003)},
    {"clmenu", TColor(0xFF000004)},
    {"clwindow", TColor(0xFF000005)},
    {"clwindowframe", TColor(0xFF000006)},
    {"clmenutext", TColor(0xFF000007)},
    {"clwindowtext", TColor(0xFF000008)},
    {"clcaptiontext", TColor(0xFF000009)},
    {"clactiveborder", TColor(0xFF00000A)},
    {"clinactiveborder", TColor(0xFF00000B)},
    {"clappworkspace", TColor(0xFF00000C)},
    {"clhighlight", TColor(0xFF00000D)},
    {"clhighlighttext", TColor(0xFF00000E)},
    {"clbtnface", TColor(0xFF00000F)},
    {"clbtnshadow", TColor(0xFF000010)},
    {"clgraytext", TColor(0xFF000011)},
    {"clbtntext", TColor(0xFF000012)},
    {"clinactivecaptiontext", TColor(0xFF000013)},
    {"clbtnhighlight", TColor(0xFF000014)},
    {"cl3ddkshadow", TColor(0xFF000015)},
    {"cl3dlight", TColor(0xFF000016)},
    {"clinfotext", TColor(0xFF000017)},
    {"clinfobk", TColor(0xFF000018)},
};

int hexNibble(QChar c)
{
    // The value is upper case already: below "A" counts as a digit, the rest as A to F.
    return c < QLatin1Char('A') ? c.unicode() - '0' : c.unicode() - 'A' + 10;
}

TColor parseColor(const QString &Value)
{
    if (Value.startsWith(QLatin1Char('#'))) {
        auto pair = [&](int at) {
            if (Value.size() < at + 2)
                return 0;
            return (hexNibble(Value[at]) * 16 + hexNibble(Value[at + 1])) & 0xFF;
        };
        return TColor(pair(1) | (pair(3) << 8) | (pair(5) << 16));
    }
    const QString n = Value.toLower();
    for (const auto &c : kColorNames)
        if (n == QLatin1String(c.Name))
            return c.Color;
    return clBlack;
}

int32_t toIntDef(const QString &s, int32_t def)
{
    int32_t v;
    return TryStrToInt(s.trimmed(), v) ? v : def;
}

struct THTMLParams
{
    TCanvas *C;
    TRect DrawRect;
    TCustomImageList *Images;
    int32_t XPos, YPos, FocusLink, HoverLink, ShadowOffset;
    bool HitTestOnly, MeasureOnly, Printing, Selected, BlinkOn, HoverOnly, WordWrap, ButtonDown;
    double ResFactor;
    TColor URLColor, HoverColor, HoverFontColor, ShadowColor;
    QString &AnchorVal, &StripVal, &FocusAnchor, &AnchorTitle;
    int32_t &XSize, &YSize, &LinkCount, &MouseLink;
    TRect &HoverRect, &ControlRect;
    QString &ControlID, &ControlValue, &ControlType;
    THTMLPictureCache *PictureCache;
    TPictureContainer *PictureContainer;
    uintptr_t ThemeWindow;
    TBiDiMode BiDiMode;

};

class THTMLRenderer : THTMLParams
{
public:
    explicit THTMLRenderer(const THTMLParams &P) : THTMLParams(P) {}
    bool Run(const QString &Text);

private:
    struct TStyleFlags
    {
        bool InLink, Shadow, Hidden, Sub, Sup;
        QString Href, Title;
    };

    // One pass over the text from Pos; the measuring first pass stops where its line ends,
    // the second pass replays [Pos, End). Returns where the line ended.
    qsizetype linePass(qsizetype Pos, qsizetype End, const TRect &R, bool First, bool Calc);
    // Handles the tag at Pos (its ">" at Gt); true when it starts the next line instead.
    bool handleTag(qsizetype Pos, qsizetype Gt, const TRect &R, bool First, bool Calc);
    void handleImage(const QString &Tag, const QString &Upper, const TRect &R, bool First, bool Calc, bool &Full);
    // Image Index of an image list (none outside the list) at the current point.
    void listImage(TCustomImageList *List, int32_t Index, const TRect &R, bool Drawing, int32_t &EW, int32_t &EH);
    void handleControl(const QString &Tag, const TRect &R, bool First, bool Calc, bool &Full);
    // Takes an inline element of the given size into the line unless it must start the next one.
    bool placeElement(int32_t EW, int32_t EH, const TRect &R, bool First);
    THTMLPicture *findPicture(const QString &Name);

    int32_t measure(const QString &S);
    int32_t gh() { return C->TextHeight(QStringLiteral("gh")); }
    // The measuring pass knows the line height so far; the drawing pass has the line's rectangle.
    int32_t textBottom(const TRect &R) const { return first_ ? R.Top + h_ + suph_ : R.Bottom - subh_; }
    TColor brushColor() const { return C->Brush()->Style() == bsClear ? clNone : C->Brush()->Color(); }
    void setBrushColor(TColor Color) { C->Brush()->SetColor(Color); }
    void setStyle(TFontStyle S, bool On)
    {
        TFontStyles st = C->Font()->Style();
        if (On)
            st.Include(S);
        else
            st.Exclude(S);
        C->Font()->SetStyle(st);
    }
    int32_t xOffset(const TRect &R) const { return (dflags_ & DT_RTLREADING) ? R.Right - XPos : XPos - R.Left; }
    int32_t scaleX(int32_t v) { return v * C->PixelsPerInchX() / 96; }
    int32_t scaleY(int32_t v) { return v * C->PixelsPerInchY() / 96; }
    void drawFocus(const TRect &R)
    {
        if (!HitTestOnly)
            C->DrawFocusRect(R);
    }

    QString text_;
    uint32_t dflags_ = 0;
    bool theme_ = false;
    bool discard_ = false;
    bool first_ = true;
    qsizetype firstLt_ = -2; // next "<" at or after the first pass's position (-1: none left)

    TFont entryFont_, measureFont_, drawFont_;
    TColor entryPen_ = clBlack, entryBrush_ = clNone;
    int32_t entryPenWidth_ = 1;

    // Line state
    int32_t x_ = 0, w_ = 0, h_ = 0, subh_ = 0, suph_ = 0, imgali_ = 0, sw_ = 0;
    int32_t align_ = 0, indent_ = 0;
    bool eol_ = false, full_ = false, listItem_ = false;
    bool hotText_ = false, hotImage_ = false;
    QString plain_;

    // Styles
    bool inLink_ = false, shadow_ = false, marked_ = false, hidden_ = false, sub_ = false, sup_ = false;
    bool paraBg_ = false;
    int32_t linkNo_ = 0, imgNo_ = 0, listLevel_ = 0;
    QString href_, title_;
    bool hoverPending_ = false;
    TPoint linkStart_;
    TRect focusRect_;
    bool focusOpen_ = false;
    TColor hoverBrushSave_ = clNone, hoverFontSave_ = clBlack, hiFontSave_ = clBlack, hiBrushSave_ = clNone;
    TColor fontBgSave_ = clNone, paraBgSave_ = clNone;
    int32_t rotSave_ = 0;
    int32_t imgHover_ = -1;
};

int32_t THTMLRenderer::measure(const QString &S)
{
    TRect r(0, 0, 0x3FFFFFFF, 0x3FFFFFFF);
    C->DrawText(S, r, (dflags_ & ~DT_END_ELLIPSIS) | DT_CALCRECT);
    return r.Right - r.Left;
}

THTMLPicture *THTMLRenderer::findPicture(const QString &Name)
{
    if (Name.contains(QLatin1String("://"))) {
        if (!PictureCache)
            return nullptr;
        THTMLPicture *p = PictureCache->FindPicture(Name);
        if (!p) {
            p = PictureCache->AddPicture();
            p->SetAsynch(false);
            p->LoadFromURL(Name);
        }
        return p;
    }
    if (!Name.contains(QLatin1Char(':')) && PictureContainer)
        return PictureContainer->FindPicture(Name);
    return nullptr;
}

bool THTMLRenderer::placeElement(int32_t EW, int32_t EH, const TRect &R, bool First)
{
    const int32_t lineW = R.Right - R.Left;
    if (First && w_ + EW > lineW && EW < lineW)
        return false;
    w_ += EW;
    x_ += EW;
    if (EH > h_)
        h_ = EH;
    return true;
}

void THTMLRenderer::listImage(TCustomImageList *List, int32_t Index, const TRect &R, bool Drawing, int32_t &EW,
                              int32_t &EH)
{
    if (!List || Index < 0 || Index >= List->Count())
        return;
    EW = scaleX(List->Width());
    EH = scaleY(List->Height());
    if (Drawing && !Printing) {
        List->Draw(C, x_, R.Top, Index);
    } else if (Drawing) {
        // Printed through a bitmap, scaled to the printer.
        TBitmap bmp;
        if (List->GetBitmap(Index, &bmp))
            C->StretchDraw(TRect(x_, R.Top, x_ + int32_t(std::lround(List->Width() * ResFactor)),
                                 R.Top + int32_t(std::lround(List->Height() * ResFactor))),
                           &bmp);
    }
}

void THTMLRenderer::handleImage(const QString &Tag, const QString &Upper, const TRect &R, bool First, bool Calc,
                                bool &Full)
{
    const bool drawing = !Calc;
    ++imgNo_;
    QString src, alt, v;
    quotedAfter(Upper, Tag, QStringLiteral("SRC="), src);
    if (imgNo_ == imgHover_ && quotedAfter(Upper, Tag, QStringLiteral("ALT="), alt))
        src = alt;
    int32_t width = 0, height = 0;
    if (quotedAfter(Upper, Upper, QStringLiteral("WIDTH="), v))
        width = toIntDef(v, 0);
    if (quotedAfter(Upper, Upper, QStringLiteral("HEIGHT="), v))
        height = toIntDef(v, 0);
    int32_t ew = 0, eh = 0;
    const QString srcU = upperAscii(src);
    if (srcU.startsWith(QLatin1String("IDX:"))) {
        const int32_t n = toIntDef(src.mid(4), -1);
        listImage(Images, n, R, drawing, ew, eh);
    } else if (srcU.startsWith(QLatin1String("SSYS:")) || srcU.startsWith(QLatin1String("LSYS:"))) {
        const bool small = srcU.startsWith(QLatin1Char('S'));
        const QString path = src.mid(5);
        const uint32_t size = small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
        TSHFileInfo info;
        int32_t index = 0;
        TCustomImageList *list = SHGetFileInfo(QString(), 0, info, SHGFI_SYSICONINDEX | size);
        if (!TryStrToInt(path, index)) {
            const QFileInfo fi(path);
            const uint32_t attrOnly = fi.exists() ? 0 : SHGFI_USEFILEATTRIBUTES;
            SHGetFileInfo(path, FILE_ATTRIBUTE_NORMAL, info, SHGFI_SYSICONINDEX | size | attrOnly);
            index = info.iIcon;
        }
        listImage(list, index, R, drawing, ew, eh);
    } else if (THTMLPicture *pic = findPicture(src); pic && !pic->Empty()) {
        if (width > 0 || height > 0) {
            const int32_t pw = pic->Width(), ph = pic->Height();
            if (width == 0 && ph > 0)
                width = int32_t(std::lround(double(height) * pw / ph));
            if (height == 0 && pw > 0)
                height = int32_t(std::lround(double(width) * ph / pw));
            ew = scaleX(width);
            eh = scaleY(height);
            if (drawing) {
                pic->SetStretch(true);
                C->StretchDraw(TRect(x_, R.Top, x_ + ew, R.Top + eh), pic);
            }
        } else {
            ew = scaleX(pic->MaxWidth());
            eh = scaleY(pic->MaxHeight());
            if (drawing) {
                pic->SetStretch(false);
                if (pic->FrameCount() > 1) {
                    const TColor pen = C->Pen()->Color(), brush = brushColor();
                    C->Pen()->SetColor(entryBrush_);
                    setBrushColor(entryBrush_);
                    C->Rectangle(x_, R.Top, x_ + ew, R.Top + eh);
                    C->Pen()->SetColor(pen);
                    setBrushColor(brush);
                    C->Draw(x_ + pic->FrameXPos(), R.Top + pic->FrameYPos(), pic);
                } else {
                    C->Draw(x_, R.Top, pic);
                }
            }
        }
    }
    const int32_t off = xOffset(R);
    if (off > w_ && off < w_ + ew && YPos > R.Top && YPos < R.Top + eh && inLink_) {
        hotImage_ = true;
        AnchorVal = href_;
        AnchorTitle = title_;
        imgHover_ = imgNo_;
    }
    if (!placeElement(ew, eh, R, First)) {
        // The tag is read again on the next line.
        --imgNo_;
        Full = true;
        return;
    }
    if (Upper.contains(QLatin1String("ALIGN"))) {
        if (Upper.contains(QLatin1String("\"TOP")))
            imgali_ = h_ - gh();
        else if (Upper.contains(QLatin1String("\"MIDDLE")))
            imgali_ = (h_ - gh()) / 2;
    }
}

void THTMLRenderer::handleControl(const QString &Tag, const TRect &R, bool First, bool Calc, bool &Full)
{
    QString type, id, value, width, height, prop, maxlen;
    ParseHTMLControlTag(Tag, type, id, value, width, height, prop, maxlen);
    int32_t ctrlH = toIntDef(height, 25);
    int32_t W = 0;
    if (!TryStrToInt(width.trimmed(), W))
        return;
    const bool check = type == QLatin1String("CHECK"), radio = type == QLatin1String("RADIO");
    const bool button = type == QLatin1String("BUTTON"), combo = type == QLatin1String("COMBO");
    int32_t ew = W, eh = gh() + 10;
    h_ = (check || radio) ? 16 : 23;
    if (ctrlH > 25)
        h_ = ctrlH - 2;
    if (!Calc) {
        const int32_t x = x_, bottom = textBottom(R) - imgali_;
        const TColor pen = C->Pen()->Color(), brush = brushColor();
        C->Pen()->SetColor(theme_ ? TColor(0xB99D7F) : TColor(0x808080));
        const bool hot = XPos > x - 2 && XPos < x - 2 + ew && YPos > bottom - eh - 2 && YPos < bottom - 2;
        const bool checked = upperAscii(value) == QLatin1String("TRUE");
        auto box = [&]() {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(clWhite);
            C->Rectangle(x, bottom - h_ + 4, x + W, bottom + 2);
            C->Brush()->SetColor(clNone);
        };
        auto themed = [&](const char *cls, int part, int state, const TRect &r) {
            if (!theme_)
                return false;
            const HTHEME th = OpenThemeData(ThemeWindow, QLatin1String(cls));
            const bool done = th && DrawThemeBackground(th, C, part, state, r);
            CloseThemeData(th);
            return done;
        };
        if (type == QLatin1String("EDIT") || type == QLatin1String("MASK") || type == QLatin1String("PASSWORD")) {
            box();
            TRect tr(x + 2, bottom - h_ + 4, x + W, bottom);
            C->DrawText(type == QLatin1String("PASSWORD") ? PasswordMask(value) : value, tr,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        } else if (combo) {
            box();
            TRect tr(x + 4, bottom - h_ + 4, x + W - 18, bottom);
            C->DrawText(value, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            const TRect br(x + W - 18, bottom - h_ + 5, x + W - 1, bottom + 1);
            if (!themed("combobox", 1, hot ? 2 : 1, br))
                DrawFrameControl(C, br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (check || radio) {
            ew = eh = 16;
            const TRect br = check ? TRect(x + 2, bottom - 15, x + 15, bottom) : TRect(x + 2, bottom - 14, x + 14, bottom);
            if (!themed("button", check ? 3 : 2, checked ? 5 : 1, br))
                DrawFrameControl(C, br, DFC_BUTTON,
                                 (check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (button) {
            eh = 24;
            const TRect br(x + 2, bottom - ctrlH, x + W - 2, bottom);
            if (!themed("button", 1, (ButtonDown && hot) ? 3 : hot ? 2 : 1, br))
                DrawFrameControl(C, br, DFC_BUTTON, DFCS_BUTTONPUSH | ((hot && ButtonDown) ? DFCS_PUSHED : 0));
            TRect tr(br.Left + 2, br.Top + 2, br.Right - 2, br.Bottom - 2);
            C->Brush()->SetColor(clNone);
            C->DrawText(value, tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
        }
        C->Pen()->SetColor(pen);
        setBrushColor(brush);
    }
    if (button || combo)
        eh = 25;
    if (check || radio)
        ew = eh = 16;
    const int32_t off = xOffset(R);
    if ((off > w_ && off < w_ + ew && YPos > R.Top && YPos < R.Top + eh) || (HitTestOnly && id == ControlID)) {
        hotImage_ = true;
        AnchorVal = QStringLiteral("ctrl");
        ControlRect = TRect(R.Left + w_, R.Top, R.Left + w_ + ew, R.Top + eh);
        ControlValue = value;
        ControlID = id;
        ControlType = type;
    }
    if (!placeElement(ew, eh, R, First))
        Full = true;
}

bool THTMLRenderer::handleTag(qsizetype Pos, qsizetype Gt, const TRect &R, bool First, bool Calc)
{
    const bool drawing = !Calc;
    const QString tag = text_.mid(Pos, Gt - Pos + 1);
    const QString up = upperAscii(tag);
    const bool closing = up.size() > 3 && up[1] == QLatin1Char('/');
    const int o = closing ? 2 : 1;
    const QChar c1 = up[o], c2 = up.size() > o + 1 ? up[o + 1] : QChar();
    QString v;
    bool full = false;

    if (closing) {
        switch (c1.unicode()) {
        case 'A':
            if (drawing && (!HoverOnly || linkNo_ == HoverLink)) {
                setStyle(fsUnderline, false);
                if (HoverColor != clNone)
                    setBrushColor(hoverBrushSave_);
                if (HoverFontColor != clNone)
                    C->Font()->SetColor(hoverFontSave_);
            }
            if (!Selected)
                C->Font()->SetColor(entryFont_.Color());
            inLink_ = false;
            if (hoverPending_) {
                const TPoint start = linkStart_.Y == R.Top ? linkStart_ : TPoint(R.Left, R.Top);
                HoverRect = TRect(start.X, start.Y, R.Left + w_, textBottom(R));
                MouseLink = linkNo_;
                hoverPending_ = false;
            }
            if (linkNo_ == FocusLink + 1 && focusOpen_) {
                focusRect_.Right = x_;
                focusRect_.Bottom = textBottom(R) - imgali_;
                focusRect_.Top = focusRect_.Bottom - gh();
                focusRect_.Left -= 1;
                focusRect_.Right += 1;
                if (drawing)
                    drawFocus(focusRect_);
                focusOpen_ = false;
            }
            break;
        case 'B':
            if (c2 == QLatin1Char('>'))
                setStyle(fsBold, false);
            else
                C->Font()->SetColor(entryFont_.Color());
            break;
        case 'E':
            if (drawing)
                marked_ = false;
            break;
        case 'F':
            C->Font()->SetName(entryFont_.Name());
            C->Font()->SetSize(entryFont_.Size());
            if (drawing && !Selected) {
                C->Font()->SetColor(entryFont_.Color());
                setBrushColor(fontBgSave_);
            }
            break;
        case 'H':
            if (drawing) {
                C->Font()->SetColor(hiFontSave_);
                setBrushColor(hiBrushSave_);
            }
            break;
        case 'I':
            setStyle(fsItalic, false);
            break;
        case 'L':
            eol_ = true;
            break;
        case 'P':
            eol_ = true;
            if (drawing) {
                setBrushColor(paraBgSave_);
                paraBg_ = false;
            }
            break;
        case 'R':
            C->Font()->SetOrientation(rotSave_);
            break;
        case 'S':
            if (c2 == QLatin1Char('U'))
                sub_ = sup_ = false;
            else if (c2 == QLatin1Char('H'))
                shadow_ = false;
            else
                setStyle(fsStrikeOut, false);
            break;
        case 'U':
            if (c2 == QLatin1Char('>') || listLevel_ == 0)
                setStyle(fsUnderline, false);
            else
                --listLevel_;
            break;
        case 'Z':
            hidden_ = false;
            break;
        default:
            break;
        }
        return false;
    }

    switch (c1.unicode()) {
    case 'A': {
        if (drawing && linkNo_ == FocusLink) {
            focusRect_ = TRect(x_, R.Top, x_, R.Top);
            focusOpen_ = true;
        }
        ++linkNo_;
        const bool hover = !HoverOnly || linkNo_ == HoverLink;
        if (drawing && hover) {
            setStyle(fsUnderline, true);
            if (HoverColor != clNone) {
                hoverBrushSave_ = brushColor();
                setBrushColor(HoverColor);
            }
            if (HoverFontColor != clNone) {
                hoverFontSave_ = C->Font()->Color();
                C->Font()->SetColor(HoverFontColor);
            }
        }
        if (!Selected && !(HoverOnly && linkNo_ == HoverLink && HoverFontColor != clNone))
            C->Font()->SetColor(URLColor);
        if (quotedAfter(up, tag, QStringLiteral("HREF="), v)) {
            href_ = v;
            inLink_ = true;
        }
        if (quotedAfter(up, tag, QStringLiteral("TITLE="), v))
            title_ = v;
        linkStart_ = TPoint(R.Left + w_, R.Top);
        break;
    }
    case 'B':
        if (c2 == QLatin1Char('R')) {
            eol_ = true;
            if (First)
                StripVal += QLatin1Char('\r');
        } else if (c2 == QLatin1Char('L')) {
            if (!BlinkOn)
                C->Font()->SetColor(entryBrush_);
        } else if (c2 == QLatin1Char('O')) {
            if (!drawing)
                break;
            if (quotedAfter(up, tag, QStringLiteral("BACKGROUND="), v)) {
                THTMLPicture *pic = findPicture(v);
                if (pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
                    C->SaveState();
                    C->IntersectClipRect(DrawRect);
                    for (int32_t y = DrawRect.Top; y < DrawRect.Bottom; y += pic->Height())
                        for (int32_t x = DrawRect.Left; x < DrawRect.Right; x += pic->Width())
                            C->Draw(x, y, pic);
                    C->RestoreState();
                }
            }
            if (quotedAfter(up, up, QStringLiteral("BGCOLOR="), v) &&
                (v.contains(QLatin1String("CL")) || v.contains(QLatin1Char('#')))) {
                fontBgSave_ = brushColor();
                const TColor c = parseColor(v);
                setBrushColor(c);
                const TColor pen = C->Pen()->Color();
                C->Pen()->SetColor(c);
                C->Rectangle(DrawRect);
                C->Pen()->SetColor(pen);
            }
        } else {
            setStyle(fsBold, true);
        }
        break;
    case 'C':
        handleControl(tag, R, First, Calc, full);
        break;
    case 'E':
        if (drawing)
            marked_ = true;
        break;
    case 'F':
        if (quotedAfter(up, up, QStringLiteral("FACE="), v))
            C->Font()->SetName(v);
        if (quotedAfter(up, up, QStringLiteral(" COLOR="), v) && !Selected)
            C->Font()->SetColor(parseColor(v));
        if (quotedAfter(up, up, QStringLiteral("BGCOLOR="), v) && drawing && !Selected) {
            fontBgSave_ = brushColor();
            setBrushColor(parseColor(v));
        }
        if (quotedAfter(up, up, QStringLiteral("SIZE="), v)) {
            int32_t n;
            if (TryStrToInt(v.trimmed(), n)) {
                static const int32_t sizes[5] = {8, 10, 12, 14, 16};
                C->Font()->SetSize(n >= 1 && n <= 5 ? sizes[n - 1] : n);
            }
        }
        break;
    case 'H':
        if (c2 == QLatin1Char('I')) {
            if (drawing) {
                hiFontSave_ = C->Font()->Color();
                hiBrushSave_ = brushColor();
                setBrushColor(gHighlightColor);
                C->Font()->SetColor(gHighlightTextColor);
            }
        } else if (c2 == QLatin1Char('R')) {
            eol_ = true;
            if (drawing) {
                const TColor pen = C->Pen()->Color();
                C->Pen()->SetColor(clBlack);
                C->MoveTo(R.Left, textBottom(R) + 1);
                C->LineTo(R.Right, textBottom(R) + 1);
                C->Pen()->SetColor(pen);
            }
        }
        break;
    case 'I':
        if (c2 == QLatin1Char('M')) {
            handleImage(tag, up, R, First, Calc, full);
        } else if (c2 == QLatin1Char('N')) {
            const qsizetype xp = up.indexOf(QLatin1Char('X'));
            if (xp >= 0 && quotedAfter(up, up, QString(), v, xp)) {
                int32_t n;
                if (TryStrToInt(v.trimmed(), n) && n > w_) {
                    w_ = n;
                    x_ = DrawRect.Left + n;
                }
            }
        } else {
            setStyle(fsItalic, true);
        }
        break;
    case 'L':
        if (listItem_) {
            full = true;
            break;
        }
        listItem_ = true;
        w_ += 12 * listLevel_;
        x_ += 12 * (listLevel_ - 1);
        if (drawing) {
            const QString name = C->Font()->Name();
            C->Font()->SetName(QStringLiteral("Symbol"));
            TRect br(x_, R.Top, R.Right, textBottom(R) - imgali_);
            C->DrawText(listLevel_ % 2 ? QString(QChar(0x00B7)) : QStringLiteral("o"), br, dflags_);
            C->Font()->SetName(name);
        }
        x_ += 12;
        break;
    case 'P':
        if (quotedAfter(up, up, QStringLiteral("ALIGN="), v)) {
            if (v.contains(QLatin1String("RIGHT")))
                align_ = 1;
            if (v.contains(QLatin1String("LEFT")))
                align_ = 0;
            if (v.contains(QLatin1String("CENTER")))
                align_ = 2;
        }
        if (quotedAfter(up, up, QStringLiteral("INDENT="), v))
            indent_ = toIntDef(v, indent_);
        if (drawing && quotedAfter(up, up, QStringLiteral("BGCOLOR="), v)) {
            paraBg_ = true;
            paraBgSave_ = brushColor();
            const TColor c = parseColor(v);
            setBrushColor(c);
            C->Pen()->SetColor(c);
            C->Rectangle(DrawRect.Left, R.Top, DrawRect.Right, textBottom(R));
        }
        break;
    case 'R': {
        const qsizetype ap = up.indexOf(QLatin1Char('A'));
        int32_t n;
        if (ap >= 0 && quotedAfter(up, up, QString(), v, ap) && TryStrToInt(v.trimmed(), n)) {
            rotSave_ = C->Font()->Orientation();
            C->Font()->SetOrientation(n * 10);
        }
        break;
    }
    case 'S':
        if (up == QLatin1String("<SUB>"))
            sub_ = true;
        else if (up == QLatin1String("<SUP>"))
            sup_ = true;
        else if (c2 == QLatin1Char('H'))
            shadow_ = true;
        else if (c2 == QLatin1Char('>') || c2 == QLatin1Char(' '))
            setStyle(fsStrikeOut, true);
        break;
    case 'U':
        if (c2 == QLatin1Char('L')) {
            ++listLevel_;
            eol_ = true;
        } else {
            setStyle(fsUnderline, true);
        }
        break;
    case 'Z':
        hidden_ = true;
        break;
    default:
        break;
    }
    return full;
}

qsizetype THTMLRenderer::linePass(qsizetype Pos, qsizetype End, const TRect &R, bool First, bool Calc)
{
    const bool drawing = !Calc;
    first_ = First;
    qsizetype lt = -1; // the second pass looks for "<" only inside its line
    x_ = R.Left;
    w_ = 0;
    sw_ = 0;
    eol_ = full_ = listItem_ = false;
    hotText_ = hotImage_ = false;
    plain_.clear();
    if (drawing && focusOpen_)
        focusRect_ = TRect(R.Left, R.Top, R.Left, R.Top);
    if (drawing && paraBg_) {
        const TColor pen = C->Pen()->Color();
        C->Pen()->SetColor(C->Brush()->Color());
        C->Rectangle(DrawRect.Left, R.Top, DrawRect.Right, R.Top + h_);
        C->Pen()->SetColor(pen);
    }
    const int32_t lineW = R.Right - R.Left;
    const QString &t = text_;
    while (Pos < End && !eol_ && !full_) {
        qsizetype chunkEnd;
        if (First) {
            if (firstLt_ != -1 && firstLt_ < Pos)
                firstLt_ = t.indexOf(QLatin1Char('<'), Pos);
            chunkEnd = firstLt_ < 0 ? End : std::min(firstLt_, End);
        } else {
            if (lt < Pos)
                for (lt = Pos; lt < End && t[lt] != QLatin1Char('<');)
                    ++lt;
            chunkEnd = lt;
        }
        if (WordWrap)
            for (qsizetype i = Pos; i < chunkEnd; ++i)
                if (t[i] == QLatin1Char(' ')) {
                    chunkEnd = i + 1;
                    break;
                }
        if (chunkEnd > Pos) {
            QString su = t.mid(Pos, chunkEnd - Pos);
            if (su.contains(QLatin1Char('&'))) {
                su.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
                su.replace(QLatin1String("&lt;"), QLatin1String("<"));
                su.replace(QLatin1String("&gt;"), QLatin1String(">"));
            }
            const int32_t th = C->TextHeight(su);
            if (th > h_)
                h_ = th;
            if (sub_ && th / 4 > subh_)
                subh_ = th / 4;
            if (sup_ && th / 4 > suph_)
                suph_ = th / 4;
            if (hidden_) {
                if (First)
                    StripVal += su;
                Pos = chunkEnd;
                continue;
            }
            const int32_t before = w_;
            int32_t cw;
            if (Calc) {
                cw = measure(su);
                const int32_t off = xOffset(R);
                if (inLink_ && off >= before && off < before + cw) {
                    hotText_ = true;
                    if (YPos > R.Top) {
                        AnchorVal = href_;
                        AnchorTitle = title_;
                        hoverPending_ = true;
                    }
                }
            } else {
                int32_t bottom = textBottom(R);
                if (sup_)
                    bottom -= suph_;
                if (sub_)
                    bottom += subh_;
                bottom -= imgali_;
                if (shadow_) {
                    const TColor fc = C->Font()->Color();
                    C->Font()->SetColor(ShadowColor);
                    TRect sr(x_ + ShadowOffset, R.Top + ShadowOffset, R.Right + ShadowOffset, bottom + ShadowOffset);
                    C->DrawText(su, sr, dflags_);
                    C->Font()->SetColor(fc);
                }
                TRect cr(x_, R.Top, R.Right, bottom);
                C->DrawText(su, cr, dflags_);
                cw = measure(su);
                if (inLink_ && linkNo_ == FocusLink + 1)
                    FocusAnchor = href_;
                if (marked_) {
                    const TColor pen = C->Pen()->Color();
                    const int32_t penW = C->Pen()->Width();
                    C->Pen()->SetColor(clRed);
                    C->Pen()->SetWidth(1);
                    int32_t zx = x_ & ~1;
                    int32_t dy = (zx % 4 == 0) ? 2 : 0;
                    const int32_t base = bottom - 1;
                    C->MoveTo(zx, base - dy);
                    while (zx < x_ + cw) {
                        zx += 2;
                        dy = 2 - dy;
                        C->LineTo(zx, base - dy);
                    }
                    C->Pen()->SetColor(pen);
                    C->Pen()->SetWidth(penW);
                }
            }
            w_ += cw;
            x_ += (dflags_ & DT_RTLREADING) ? -cw : cw;
            bool take = true;
            bool cut = false;
            if (First) {
                const bool fits = w_ < lineW || cw >= lineW;
                take = fits || (!plain_.isEmpty() && plain_.back() != QLatin1Char(' '));
                cut = !fits && !plain_.isEmpty() && !WordWrap;
            }
            if (take || !WordWrap) {
                if (First)
                    StripVal += su;
                plain_ += su;
                sw_ = t[chunkEnd - 1] == QLatin1Char(' ') ? measure(QStringLiteral(" ")) : 0;
                Pos = chunkEnd;
                if (cut) {
                    discard_ = true;
                    break;
                }
            } else {
                w_ -= cw;
                x_ -= (dflags_ & DT_RTLREADING) ? -cw : cw;
                full_ = true;
                break;
            }
        }
        if (Pos >= End || t[Pos] != QLatin1Char('<'))
            continue;
        if (End - Pos <= 2) {
            Pos = End;
            discard_ = true;
            break;
        }
        const qsizetype gt = t.indexOf(QLatin1Char('>'), Pos + 1);
        if (gt < 0 || gt >= End) {
            Pos = End;
            discard_ = true;
            break;
        }
        if (handleTag(Pos, gt, R, First, Calc)) {
            full_ = true;
            break;
        }
        Pos = gt + 1;
    }
    w_ -= sw_;
    if (w_ > XSize)
        XSize = w_;
    if (drawing && focusOpen_ && inLink_ && linkNo_ == FocusLink + 1) {
        TRect fr = focusRect_;
        fr.Right = x_;
        fr.Bottom = R.Bottom;
        drawFocus(fr);
    }
    return Pos;
}

bool THTMLRenderer::Run(const QString &Text)
{
    // Preparation
    entryPen_ = C->Pen()->Color();
    entryPenWidth_ = C->Pen()->Width();
    entryBrush_ = brushColor();
    entryFont_.Assign(C->Font());
    measureFont_.Assign(C->Font());
    drawFont_.Assign(C->Font());
    setBrushColor(clNone);

    ControlRect = TRect(0, 0, 0, 0);
    ControlValue.clear();
    ControlType.clear();
    if (!HitTestOnly)
        ControlID.clear();
    XSize = YSize = LinkCount = 0;
    MouseLink = -1;
    StripVal.clear();
    FocusAnchor.clear();
    AnchorTitle.clear();

    dflags_ = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (QLocale::system().textDirection() == Qt::RightToLeft) {
        if (BiDiMode == bdRightToLeft)
            dflags_ ^= DT_RIGHT;
        if (BiDiMode != bdLeftToRight)
            dflags_ |= DT_RTLREADING;
    }
    if (!WordWrap)
        dflags_ |= DT_END_ELLIPSIS;
    theme_ = (Win32MajorVersion() > 5 || (Win32MajorVersion() == 5 && Win32MinorVersion() >= 1)) && IsThemeActive();

    // Entities are replaced until none is left, so "&amp;amp;" ends as "&&&" ("&&" shows one
    // "&"). One left-to-right walk does it: a replacement can only start a new entity at its end.
    text_.clear();
    if (Text.contains(QLatin1Char('&'))) {
        static const struct
        {
            const char *Find;
            char16_t With;
        } ents[9] = {{"&amp;", 0},       {"&quot;", u'"'},    {"&sect;", 0x00A7},  {"&permil;", 0x2030}, {"&reg;", 0x00AE},
                     {"&copy;", 0x00A9}, {"&para;", 0x00B6}, {"&trade;", 0x2122}, {"&euro;", 0x20AC}};
        text_.reserve(Text.size());
        // Only text outside tags: attribute values keep their entities for the control and
        // link parsers ("&&" in a control's VALUE would be taken as two ampersands).
        bool inTag = false;
        for (QChar c : Text) {
            text_ += c;
            if (c == QLatin1Char('<'))
                inTag = true;
            else if (c == QLatin1Char('>'))
                inTag = false;
            if (inTag || c != QLatin1Char(';'))
                continue;
            for (const auto &e : ents) {
                const QLatin1String f(e.Find);
                if (text_.size() >= f.size() && QStringView(text_).right(f.size()).compare(f, Qt::CaseInsensitive) == 0) {
                    text_.chop(f.size());
                    if (e.With)
                        text_ += QChar(e.With);
                    else
                        text_ += QLatin1String("&&");
                    break;
                }
            }
        }
    } else {
        text_ = Text;
    }
    text_ = LineBreaksToHTML(NeutraliseHashTags(text_), true);

    bool result = false;
    TRect lineRect = DrawRect;
    lineRect.Left += 1;
    qsizetype pos = 0;
    const qsizetype n = text_.size();
    while (pos < n) {
        C->Font()->Assign(&measureFont_);
        subh_ = suph_ = imgali_ = 0;
        h_ = gh();
        const int32_t linkNo = linkNo_, listLevel = listLevel_, imgNo = imgNo_;
        const TStyleFlags flags{inLink_, shadow_, hidden_, sub_, sup_, href_, title_};
        // What the point found on lines above it must not be overwritten by a line it is below.
        const QString anchor = AnchorVal, anchorTitle = AnchorTitle;
        const bool pending = hoverPending_;
        const TRect hoverRect = HoverRect;
        const int32_t mouseLink = MouseLink;

        const qsizetype lineStart = pos;
        pos = linePass(pos, n, lineRect, true, true);
        if (pos == lineStart && !discard_)
            break; // nothing could be laid out
        const qsizetype lineEnd = pos;
        measureFont_.Assign(C->Font());

        inLink_ = flags.InLink;
        href_ = flags.Href;
        title_ = flags.Title;
        shadow_ = flags.Shadow;
        hidden_ = flags.Hidden;
        sub_ = flags.Sub;
        sup_ = flags.Sup;

        TRect dr = lineRect;
        if (align_ == 1 && dr.Right - w_ > dr.Left)
            dr.Left = dr.Right - w_;
        else if (align_ == 2 && dr.Right - dr.Left - w_ > 0)
            dr.Left += (dr.Right - dr.Left - w_) / 2;
        dr.Left += indent_;
        const int32_t lineH = h_ + subh_ + suph_;
        dr.Bottom = dr.Top + lineH;

        if (!MeasureOnly) {
            linkNo_ = linkNo;
            listLevel_ = listLevel;
            imgNo_ = imgNo;
            C->Font()->Assign(&drawFont_);
            const bool discard = discard_;
            linePass(lineStart, lineEnd, dr, false, HitTestOnly);
            discard_ = discard;
            drawFont_.Assign(C->Font());
            const int32_t band = dr.Bottom - imgali_;
            if ((hotText_ && YPos > band - gh() && YPos < band) || hotImage_)
                result = true;
        }
        if (YPos >= lineRect.Top + lineH) {
            AnchorVal = anchor;
            AnchorTitle = anchorTitle;
            hoverPending_ = pending;
            HoverRect = hoverRect;
            MouseLink = mouseLink;
        }
        lineRect.Top += lineH;
        YSize += lineH;
        if (discard_)
            break;
        if (!MeasureOnly && lineRect.Top + gh() > DrawRect.Bottom)
            break;
    }
    LinkCount = linkNo_;
    if (YSize == 0)
        YSize = gh();

    C->Pen()->SetColor(entryPen_);
    C->Pen()->SetWidth(entryPenWidth_);
    setBrushColor(entryBrush_);
    C->Font()->Assign(&entryFont_);
    return result;
}
} // namespace

bool DrawHTMLText(TCanvas *Canvas, const QString &Text, const TRect &DrawRect, TCustomImageList *Images, int32_t XPos,
                  int32_t YPos, int32_t FocusLink, int32_t HoverLink, int32_t ShadowOffset, bool HitTestOnly,
                  bool MeasureOnly, bool Printing, bool Selected, bool BlinkOn, bool HoverOnly, bool WordWrap,
                  bool ButtonDown, double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, QString &AnchorVal, QString &StripVal, QString &FocusAnchor,
                  QString &AnchorTitle, int32_t &XSize, int32_t &YSize, int32_t &LinkCount, int32_t &MouseLink,
                  TRect &HoverRect, TRect &ControlRect, QString &ControlID, QString &ControlValue,
                  QString &ControlType, THTMLPictureCache *PictureCache, TPictureContainer *PictureContainer,
                  uintptr_t ThemeWindow, TBiDiMode BiDiMode)
{
    if (!Canvas)
        return false;
    THTMLRenderer r(THTMLParams{Canvas,      DrawRect,     Images,      XPos,        YPos,         FocusLink,   HoverLink,
                    ShadowOffset, HitTestOnly, MeasureOnly, Printing,    Selected,     BlinkOn,     HoverOnly,
                    WordWrap,    ButtonDown,   ResFactor,   URLColor,    HoverColor,   HoverFontColor,
                    ShadowColor, AnchorVal,    StripVal,    FocusAnchor, AnchorTitle,  XSize,       YSize,
                    LinkCount,   MouseLink,    HoverRect,   ControlRect, ControlID,    ControlValue,
                    ControlType, PictureCache, PictureContainer, ThemeWindow, BiDiMode});
    return r.Run(Text);
}
