#include "framework/graphics/Themes.h"
#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>

bool ThemeServicesAvailable() { return true; }
namespace {
bool g_themeActive = true;
}

bool IsThemeActive() { return g_themeActive; }
void SetThemeActive(bool Active) { g_themeActive = Active; }
uint32_t CommonControlsVersion() { return 6u << 16; }

bool IsDarkColorScheme()
{
    return ColorToQColor(clWindow).lightness() < 128;
}

namespace {

// The painter and style to draw with; nothing is drawn without both.
bool prepare(TCanvas *Canvas, const TRect &R, QPainter *&p, QStyle *&style, QStyleOption &opt, TThemedState State)
{
    p = Canvas ? Canvas->Painter() : nullptr;
    style = QApplication::style();
    if (!p || !p->isActive() || !style || R.IsEmpty())
        return false;
    opt.rect = QRect(R.Left, R.Top, R.Width(), R.Height());
    opt.palette = QApplication::palette();
    opt.state = QStyle::State_Enabled;
    switch (State) {
    case tsHot: opt.state |= QStyle::State_MouseOver; break;
    case tsPressed: opt.state |= QStyle::State_Sunken; break;
    case tsDisabled: opt.state &= ~QStyle::State_Enabled; break;
    case tsFocused: opt.state |= QStyle::State_HasFocus; break;
    default: break;
    }
    return true;
}

// Keeps a style's shadows and focus frames inside the part's rectangle.
struct ClipTo
{
    QPainter *p;
    ClipTo(QPainter *painter, const QRect &r) : p(painter)
    {
        p->save();
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setClipRect(r, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    ~ClipTo() { p->restore(); }
};

} // namespace

void DrawThemedButton(TCanvas *Canvas, const TRect &R, TThemedState State, const QString &Caption)
{
    QPainter *p;
    QStyle *style;
    QStyleOptionButton opt;
    if (!prepare(Canvas, R, p, style, opt, State))
        return;
    ClipTo clip(p, opt.rect);
    opt.state |= State == tsPressed ? QStyle::State_Sunken : QStyle::State_Raised;
    opt.text = Caption;
    style->drawControl(QStyle::CE_PushButton, &opt, p);
}

void DrawThemedHeader(TCanvas *Canvas, const TRect &R, TThemedState State, const QString &Caption)
{
    QPainter *p;
    QStyle *style;
    QStyleOptionHeader opt;
    if (!prepare(Canvas, R, p, style, opt, State))
        return;
    ClipTo clip(p, opt.rect);
    opt.text = Caption;
    opt.orientation = Qt::Horizontal;
    style->drawControl(QStyle::CE_Header, &opt, p);
}

void DrawThemedCheckBox(TCanvas *Canvas, const TRect &R, TCheckBoxState Check, TThemedState State, bool Radio)
{
    QPainter *p;
    QStyle *style;
    QStyleOptionButton opt;
    if (!prepare(Canvas, R, p, style, opt, State))
        return;
    ClipTo clip(p, opt.rect);
    opt.state |= Check == cbChecked ? QStyle::State_On : Check == cbGrayed ? QStyle::State_NoChange : QStyle::State_Off;
    style->drawPrimitive(Radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &opt, p);
}

void DrawThemedProgress(TCanvas *Canvas, const TRect &R, int Position, int Min, int Max)
{
    QPainter *p;
    QStyle *style;
    QStyleOptionProgressBar opt;
    if (!prepare(Canvas, R, p, style, opt, tsNormal))
        return;
    ClipTo clip(p, opt.rect);
    if (Max < Min)
        std::swap(Min, Max);
    opt.minimum = Min;
    opt.maximum = Max;
    opt.progress = std::clamp(Position, Min, Max);
    opt.textVisible = false;
    opt.state |= QStyle::State_Horizontal;
    style->drawControl(QStyle::CE_ProgressBar, &opt, p);
}

namespace {

// A button face with an arrow on it, the arrow inset from the face's edges.
void drawArrowButton(TCanvas *Canvas, const TRect &R, TThemedState State, QStyle::PrimitiveElement Face,
                     QStyle::PrimitiveElement Arrow, int Inset)
{
    QPainter *p;
    QStyle *style;
    QStyleOption opt;
    if (!prepare(Canvas, R, p, style, opt, State))
        return;
    ClipTo clip(p, opt.rect);
    QStyleOptionButton face;
    face.QStyleOption::operator=(opt);
    face.state |= State == tsPressed ? QStyle::State_Sunken : QStyle::State_Raised;
    style->drawPrimitive(Face, &face, p);
    QStyleOption arrow = opt;
    arrow.rect = opt.rect.adjusted(Inset, Inset, -Inset, -Inset);
    style->drawPrimitive(Arrow, &arrow, p);
}

} // namespace

void DrawThemedComboButton(TCanvas *Canvas, const TRect &R, TThemedState State)
{
    drawArrowButton(Canvas, R, State, QStyle::PE_PanelButtonCommand, QStyle::PE_IndicatorArrowDown, 2);
}

void DrawThemedSpinButton(TCanvas *Canvas, const TRect &R, bool Up, TThemedState State)
{
    drawArrowButton(Canvas, R, State, QStyle::PE_PanelButtonBevel,
                    Up ? QStyle::PE_IndicatorSpinUp : QStyle::PE_IndicatorSpinDown, 1);
}

namespace {
bool g_highContrast = false;
}

bool HighContrastActive() { return g_highContrast; }
void SetHighContrastActive(bool v) { g_highContrast = v; }

int Win32MajorVersion() { return 6; }
int Win32MinorVersion() { return 1; }

void GetCurrentThemeName(QString &FileName, QString &ColorScheme, QString &SizeName)
{
    // Qt styles have no colour schemes of their own; the style's name stands for the theme.
    QStyle *style = QApplication::style();
    FileName = style ? style->name() : QString();
    ColorScheme = IsDarkColorScheme() ? QStringLiteral("Dark") : QStringLiteral("Light");
    SizeName = QStringLiteral("NormalSize");
}

namespace {

enum ThemeClass { thNone, thButton, thHeader, thProgress, thComboBox, thSpin };

// Part states 1..4 of push, combo and spin buttons.
TThemedState buttonState(int StateId)
{
    switch (StateId) {
    case 2: return tsHot;
    case 3: return tsPressed;
    case 4: return tsDisabled;
    default: return tsNormal;
    }
}

} // namespace

HTHEME OpenThemeData(uintptr_t, const QString &ClassList)
{
    // A class list names alternatives separated by semicolons; the first known one wins.
    for (const QString &name : ClassList.split(QLatin1Char(';'))) {
        const QString c = name.trimmed().toLower();
        if (c == QLatin1String("button")) return thButton;
        if (c == QLatin1String("header")) return thHeader;
        if (c == QLatin1String("progress")) return thProgress;
        if (c == QLatin1String("combobox")) return thComboBox;
        if (c == QLatin1String("spin")) return thSpin;
    }
    return thNone;
}

void CloseThemeData(HTHEME) {}

bool DrawThemeBackground(HTHEME Theme, TCanvas *Canvas, int PartId, int StateId, const TRect &R)
{
    switch (Theme) {
    case thButton:
        if (PartId == 1) {
            DrawThemedButton(Canvas, R, buttonState(StateId));
            return true;
        }
        if (PartId == 2 || PartId == 3) {
            if (StateId < 1 || StateId > (PartId == 2 ? 8 : 12))
                return false;
            const int check = (StateId - 1) / 4;
            DrawThemedCheckBox(Canvas, R, check == 0 ? cbUnchecked : check == 1 ? cbChecked : cbGrayed,
                               buttonState((StateId - 1) % 4 + 1), PartId == 2);
            return true;
        }
        return false;
    case thHeader:
        if (PartId != 1)
            return false;
        DrawThemedHeader(Canvas, R, buttonState(StateId));
        return true;
    case thProgress:
        // The chunk is the filled part of a bar: a bar full to its end.
        if (PartId != 1 && PartId != 3)
            return false;
        DrawThemedProgress(Canvas, R, PartId == 3 ? 100 : 0);
        return true;
    case thComboBox:
        if (PartId != 1)
            return false;
        DrawThemedComboButton(Canvas, R, buttonState(StateId));
        return true;
    case thSpin:
        if (PartId == 1 || PartId == 2) {
            DrawThemedSpinButton(Canvas, R, PartId == 1, buttonState(StateId));
            return true;
        }
        if (PartId == 3 || PartId == 4) {
            drawArrowButton(Canvas, R, buttonState(StateId), QStyle::PE_PanelButtonBevel,
                            PartId == 3 ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft, 1);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool DrawFrameControl(TCanvas *Canvas, const TRect &R, uint32_t Type, uint32_t State)
{
    if (!Canvas || R.IsEmpty() || (Type != DFC_SCROLL && Type != DFC_BUTTON))
        return false;
    TPen savedPen;
    TBrush savedBrush;
    savedPen.Assign(Canvas->Pen());
    savedBrush.Assign(Canvas->Brush());
    const bool flat = State & DFCS_FLAT, pushed = State & DFCS_PUSHED, inactive = State & DFCS_INACTIVE;
    const uint32_t kind = State & 0xFF;
    TRect r = R;
    auto frame = [&](TColor face) {
        Canvas->Brush()->SetColor(face);
        Canvas->FillRect(r);
        if (flat) {
            Canvas->Brush()->SetColor(clBtnShadow);
            Canvas->FrameRect(r);
            r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        } else {
            Canvas->DrawEdge(r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        }
    };
    if (Type == DFC_BUTTON && (kind == DFCS_BUTTONCHECK || kind == DFCS_BUTTONRADIO || kind == DFCS_BUTTON3STATE)) {
        // A three-state box shows its third state on the button face.
        const TColor face = inactive || pushed || kind == DFCS_BUTTON3STATE ? clBtnFace : clWindow;
        if (kind == DFCS_BUTTONRADIO) {
            Canvas->Pen()->SetColor(flat ? clBtnShadow : clBtnText);
            Canvas->Brush()->SetColor(face);
            Canvas->Ellipse(r);
        } else {
            frame(face);
        }
        if (State & DFCS_CHECKED) {
            Canvas->Pen()->SetColor(inactive ? clGrayText : clBtnText);
            Canvas->Brush()->SetColor(inactive ? clGrayText : clBtnText);
            const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
            if (kind == DFCS_BUTTONRADIO)
                Canvas->Ellipse(cx - 2, cy - 2, cx + 2, cy + 2);
            else
                Canvas->Polygon({TPoint(cx - 3, cy - 1), TPoint(cx - 1, cy + 1), TPoint(cx + 3, cy - 3),
                                 TPoint(cx + 3, cy - 1), TPoint(cx - 1, cy + 3), TPoint(cx - 3, cy + 1)});
        }
    } else {
        frame(clBtnFace);
        if (Type == DFC_SCROLL) {
            // The arrow: a small triangle in the middle, nudged like the face when pushed.
            const int shift = pushed ? 1 : 0;
            const int cx = (r.Left + r.Right) / 2 + shift, cy = (r.Top + r.Bottom) / 2 + shift;
            const TColor c = inactive ? clGrayText : clBtnText;
            Canvas->Pen()->SetColor(c);
            Canvas->Brush()->SetColor(c);
            if (kind == DFCS_SCROLLUP)
                Canvas->Polygon({TPoint(cx - 3, cy + 1), TPoint(cx + 3, cy + 1), TPoint(cx, cy - 2)});
            else if (kind == DFCS_SCROLLLEFT)
                Canvas->Polygon({TPoint(cx + 1, cy - 3), TPoint(cx + 1, cy + 3), TPoint(cx - 2, cy)});
            else if (kind == DFCS_SCROLLRIGHT)
                Canvas->Polygon({TPoint(cx - 1, cy - 3), TPoint(cx - 1, cy + 3), TPoint(cx + 2, cy)});
            else
                Canvas->Polygon({TPoint(cx - 3, cy - 1), TPoint(cx + 3, cy - 1), TPoint(cx, cy + 2)});
        }
    }
    Canvas->Pen()->Assign(&savedPen);
    Canvas->Brush()->Assign(&savedBrush);
    return true;
}

int InstalledOfficeVersion() { return 0; }
int OfficeThemeSetting(int) { return -1; }
