#include "framework/graphics/Themes.h"
#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>

bool ThemeServicesAvailable() { return true; }
bool IsThemeActive() { return true; }
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
