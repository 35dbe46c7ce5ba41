#include "editors/psgspin.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/Themes.h"
#include "framework/rtl/Resources.h"
#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr Cardinal InitRepeatPause = 400;  // ms before the first repeated click
constexpr Cardinal RepeatPause = 100;      // ms between the following ones

// The arrow bitmaps as 16-colour bitmap files: a black triangle 7 pixels wide and 4 rows high on
// olive, which the speed button leaves out (its bottom-left pixel is olive).
QByteArray SpinGlyphData(bool Up)
{
    const int w = 9, h = 6, rowBytes = 8, paletteSize = 16 * 4, offset = 14 + 40 + paletteSize;
    const int size = offset + rowBytes * h;
    QByteArray d(size, '\0');
    auto put16 = [&](int at, int v) {
        d[at] = char(v & 0xFF);
        d[at + 1] = char((v >> 8) & 0xFF);
    };
    auto put32 = [&](int at, int v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, (v >> 16) & 0xFFFF);
    };
    d[0] = 'B';
    d[1] = 'M';
    put32(2, size);
    put32(10, offset);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    put16(26, 1);
    put16(28, 4);
    put32(34, rowBytes * h);
    put32(46, 16);
    // The 16 colours of the classic palette, as blue, green, red and a spare byte.
    static const uint8_t palette[16][3] = {
        {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}, {0x00, 0x80, 0x00}, {0x00, 0x80, 0x80},
        {0x80, 0x00, 0x00}, {0x80, 0x00, 0x80}, {0x80, 0x80, 0x00}, {0x80, 0x80, 0x80},
        {0xC0, 0xC0, 0xC0}, {0x00, 0x00, 0xFF}, {0x00, 0xFF, 0x00}, {0x00, 0xFF, 0xFF},
        {0xFF, 0x00, 0x00}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0xFF, 0xFF}};
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 3; ++k)
            d[54 + i * 4 + k] = char(palette[i][k]);
    const int black = 0, olive = 3;
    for (int y = 0; y < h; ++y) {
        // Rows 1 to 4 hold the triangle: 1, 3, 5 and 7 pixels wide, or the other way round.
        const int row = Up ? y - 1 : 4 - y;
        const int half = row >= 0 && row < 4 ? row : -1;
        const int fileRow = h - 1 - y;  // bottom-up
        for (int x = 0; x < w; ++x) {
            const int colour = half >= 0 && x >= 4 - half && x <= 4 + half ? black : olive;
            char &b = d[offset + fileRow * rowBytes + x / 2];
            b = char(x % 2 == 0 ? (uint8_t(b) & 0x0F) | (colour << 4) : (uint8_t(b) & 0xF0) | colour);
        }
    }
    return d;
}

void RegisterSpinGlyphs()
{
    static const bool registered = [] {
        RegisterResource(RT_BITMAP, QStringLiteral("PsgSpinUp"), SpinGlyphData(true));
        RegisterResource(RT_BITMAP, QStringLiteral("PsgSpinDown"), SpinGlyphData(false));
        return true;
    }();
    (void)registered;
}

void FillAndFrame(TCanvas *C, const TRect &R, TColor Color)
{
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(Color);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->Rectangle(R);
}

void DrawArrow(TCanvas *C, TColor Color, const std::vector<TPoint> &Points)
{
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(Color);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->Polygon(Points);
}

// The client edge of a bordered edit: its client area starts this far in.
constexpr int EditEdge = 2;

}  // namespace

bool LoadSpinGlyph(const QString &Name, TBitmap *Bitmap)
{
    RegisterSpinGlyphs();
    QByteArray data;
    if (!Bitmap || !FindResourceData(HInstance, Name, RT_BITMAP, data))
        return false;
    Bitmap->LoadFromData(data);
    return true;
}

// ---------------------------------------------------------------------------------------------
// TProTimerSpeedButton

TProTimerSpeedButton::TProTimerSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner) {}

TProTimerSpeedButton::~TProTimerSpeedButton()
{
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    if (MouseCapture())
        SetMouseCapture(false);
}

void TProTimerSpeedButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

void TProTimerSpeedButton::InvalidateParent()
{
    if (Parent())
        Parent()->Invalidate();
}

void TProTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    // The arrow keeps the mouse while it is held, so that its repeats know it is still held.
    if (Button == mbLeft && Enabled())
        SetMouseCapture(true);
    if (FTimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer)
            FRepeatTimer = new TTimer(this);
        FRepeatTimer->OnTimer = [this](TObject *Sender) { TimerExpired(Sender); };
        FRepeatTimer->SetInterval(InitRepeatPause);
        FRepeatTimer->SetEnabled(true);
    }
    InvalidateParent();
}

void TProTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && MouseCapture())
        SetMouseCapture(false);
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    InvalidateParent();
}

void TProTimerSpeedButton::TimerExpired(TObject *)
{
    FRepeatTimer->SetInterval(RepeatPause);
    if (State() != bsDown || !MouseCapture())
        return;
    try {
        Click();
    } catch (...) {
        // The error is reported with a message box: the arrow must not go on clicking or keep
        // the mouse meanwhile.
        FRepeatTimer->SetEnabled(false);
        SetMouseCapture(false);
        throw;
    }
}

void TProTimerSpeedButton::MouseEnter()
{
    FHasMouse = true;
    Invalidate();
    TSpeedButton::MouseEnter();
}

void TProTimerSpeedButton::MouseLeave()
{
    FHasMouse = false;
    Invalidate();
    TSpeedButton::MouseLeave();
}

void TProTimerSpeedButton::Paint()
{
    TCanvas *c = Canvas();
    const TRect R = ClientRect();
    const int L = R.Left, T = R.Top, Rt = R.Right;
    const bool pressed = State() == bsDown;
    auto *spin = dynamic_cast<TPsgSpinButton *>(Owner());

    if (HighContrastActive()) {
        FillAndFrame(c, R, clBlack);
        switch (FButtonDirection) {
        case bdLeft: DrawArrow(c, clWhite, {TPoint(Rt - 3, T + 5), TPoint(Rt - 6, T + 7), TPoint(Rt - 3, T + 9)}); break;
        case bdRight: DrawArrow(c, clWhite, {TPoint(Rt - 6, T + 5), TPoint(Rt - 3, T + 7), TPoint(Rt - 6, T + 9)}); break;
        case bdUp: DrawArrow(c, clWhite, {TPoint(Rt - 10, T + 6), TPoint(Rt - 4, T + 6), TPoint(Rt - 7, T + 3)}); break;
        case bdDown: DrawArrow(c, clWhite, {TPoint(Rt - 10, T + 3), TPoint(Rt - 4, T + 3), TPoint(Rt - 7, T + 6)}); break;
        }
        return;
    }

    if (spin && spin->ButtonColor() != clNone) {
        const TColor face = pressed ? spin->ButtonColorDown() : FHasMouse ? spin->ButtonColorHot() : spin->ButtonColor();
        if (face != clNone)
            FillAndFrame(c, R, face);
        switch (FButtonDirection) {
        case bdLeft: DrawArrow(c, clBlack, {TPoint(L + 5, T + 5), TPoint(L + 3, T + 7), TPoint(L + 5, T + 9)}); break;
        case bdRight: DrawArrow(c, clBlack, {TPoint(L + 3, T + 5), TPoint(L + 5, T + 7), TPoint(L + 3, T + 9)}); break;
        case bdUp: DrawArrow(c, clBlack, {TPoint(L + 4, T + 4), TPoint(L + 8, T + 4), TPoint(L + 6, T + 2)}); break;
        case bdDown: DrawArrow(c, clBlack, {TPoint(L + 4, T + 2), TPoint(L + 8, T + 2), TPoint(L + 6, T + 4)}); break;
        }
        return;
    }

    if (FIsWinXP && spin) {
        if (const HTHEME theme = OpenThemeData(spin->Handle(), QStringLiteral("spin"))) {
            static const int parts[] = {4, 3, 1, 2};  // by TButtonDirection
            const int state = pressed ? 3 : FHasMouse ? 2 : 1;
            DrawThemeBackground(theme, c, parts[FButtonDirection], state, R);
            CloseThemeData(theme);
            return;
        }
    }

    if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
        uint32_t s = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (pressed)
            s |= DFCS_PUSHED;
        if (Flat())
            s |= DFCS_FLAT;
        DrawFrameControl(c, R, DFC_SCROLL, s);
        return;
    }
    TSpeedButton::Paint();
}

// ---------------------------------------------------------------------------------------------
// TPsgSpinButton

TPsgSpinButton::TPsgSpinButton(TComponent *AOwner) : TWinControl(AOwner, nullptr)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    style.Exclude(csSetCaption);
    style.Include(csOpaque);
    SetControlStyle(style);
    // A press on an arrow decides itself where the focus goes.
    SetClickFocus(false);

    FUpButton = CreateButton();
    FUpButton->SetButtonDirection(bdUp);
    LoadSpinGlyph(QStringLiteral("PsgSpinUp"), FUpButton->Glyph());
    FDownButton = CreateButton();
    FDownButton->SetButtonDirection(bdDown);
    LoadSpinGlyph(QStringLiteral("PsgSpinDown"), FDownButton->Glyph());

    SetBounds(0, 0, 15, 25);
    FFocusedButton = FUpButton;
}

TPsgSpinButton::~TPsgSpinButton()
{
    SetFocusControl(nullptr);
}

TProTimerSpeedButton *TPsgSpinButton::CreateButton()
{
    auto *b = new TProTimerSpeedButton(this);
    b->OnClick = [this](TObject *Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        BtnMouseDown(Sender, Button, Shift, X, Y);
    };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
    b->SetParent(this);
    return b;
}

void TPsgSpinButton::AdjustSize(int &W, int &H)
{
    if (!FUpButton || !FDownButton || ComponentState().Contains(csLoading))
        return;
    if (FDirection == spVertical) {
        W = std::max(W, 15);
        const int half = H / 2;
        FUpButton->SetBounds(0, 0, W, half);
        FDownButton->SetBounds(0, FUpButton->Height() - 1, W, H - FUpButton->Height() + 1);
    } else {
        W = std::max(W, 20);
        const int half = W / 2;
        FDownButton->SetBounds(0, 0, half, H);
        FUpButton->SetBounds(half + 1, 0, half, H);
    }
}

void TPsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AdjustSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TPsgSpinButton::Resize()
{
    int w = Width(), h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height())
        TWinControl::SetBounds(Left(), Top(), w, h);
    TWinControl::Resize();
}

void TPsgSpinButton::Loaded()
{
    SetComponentStateItem(csLoading, false);
    int w = Width(), h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height())
        TWinControl::SetBounds(Left(), Top(), w, h);
}

void TPsgSpinButton::SetDirection(TSpinDirection v)
{
    if (v == FDirection)
        return;
    FDirection = v;
    if (v == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetWidth(20);
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetWidth(15);
    }
    // The arrows take their places again even when the width stayed.
    int w = Width(), h = Height();
    AdjustSize(w, h);
    InvalidateButtons();
}

TBitmap *TPsgSpinButton::UpGlyph() const { return FUpButton->Glyph(); }
TBitmap *TPsgSpinButton::DownGlyph() const { return FDownButton->Glyph(); }

void TPsgSpinButton::SetUpGlyph(TBitmap *v)
{
    if (v) {
        FUpButton->SetGlyph(v);
        return;
    }
    LoadSpinGlyph(QStringLiteral("PsgSpinUp"), FUpButton->Glyph());
    FUpButton->SetNumGlyphs(1);
    FUpButton->Invalidate();
}

void TPsgSpinButton::SetDownGlyph(TBitmap *v)
{
    if (v) {
        FDownButton->SetGlyph(v);
        return;
    }
    LoadSpinGlyph(QStringLiteral("PsgSpinDown"), FDownButton->Glyph());
    FDownButton->SetNumGlyphs(1);
    FDownButton->Invalidate();
}

int TPsgSpinButton::UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
void TPsgSpinButton::SetUpNumGlyphs(int v) { FUpButton->SetNumGlyphs(v); }
int TPsgSpinButton::DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
void TPsgSpinButton::SetDownNumGlyphs(int v) { FDownButton->SetNumGlyphs(v); }

void TPsgSpinButton::SetFocusControl(TWinControl *v)
{
    if (v == FFocusControl)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TPsgSpinButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FFocusControl)
        FFocusControl = nullptr;
    if (AComponent == FUpButton || AComponent == FDownButton) {
        if (FFocusedButton == AComponent)
            FFocusedButton = nullptr;
        (AComponent == FUpButton ? FUpButton : FDownButton) = nullptr;
    }
}

void TPsgSpinButton::InvalidateButtons()
{
    if (FUpButton)
        FUpButton->Invalidate();
    if (FDownButton)
        FDownButton->Invalidate();
}

void TPsgSpinButton::SetButtonColor(TColor v)
{
    FButtonColor = v;
    InvalidateButtons();
}

void TPsgSpinButton::SetButtonColorHot(TColor v)
{
    FButtonColorHot = v;
    InvalidateButtons();
}

void TPsgSpinButton::SetButtonColorDown(TColor v)
{
    FButtonColorDown = v;
    InvalidateButtons();
}

void TPsgSpinButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    FUpButton->SetIsWinXP(v);
    FDownButton->SetIsWinXP(v);
}

void TPsgSpinButton::BtnClick(TObject *Sender)
{
    if (Sender == FUpButton) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (Sender == FDownButton) {
        if (OnDownClick)
            OnDownClick(this);
    }
}

void TPsgSpinButton::BtnMouseDown(TObject *Sender, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft)
        return;
    SetFocusBtn(static_cast<TProTimerSpeedButton *>(Sender));
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TPsgSpinButton::SetFocusBtn(TProTimerSpeedButton *Btn)
{
    if (!TabStop() || !CanFocus() || !Btn || Btn == FFocusedButton)
        return;
    TTimeBtnState s = FFocusedButton->TimeBtnState();
    s.Exclude(tbFocusRect);
    FFocusedButton->SetTimeBtnState(s);
    FFocusedButton = Btn;
    if (Focused()) {
        s = FFocusedButton->TimeBtnState();
        s.Include(tbFocusRect);
        FFocusedButton->SetTimeBtnState(s);
        InvalidateButtons();
    }
}

void TPsgSpinButton::KeyDown(Word &Key, TShiftState Shift)
{
    switch (Key) {
    case VK_SPACE:
        if (FFocusedButton)
            FFocusedButton->Click();
        break;
    case VK_UP:
        SetFocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(FDownButton);
        FDownButton->Click();
        break;
    default:
        break;
    }
    TWinControl::KeyDown(Key, Shift);
}

void TPsgSpinButton::WMSetFocus(TMessage &Message)
{
    if (FFocusedButton) {
        TTimeBtnState s = FFocusedButton->TimeBtnState();
        s.Include(tbFocusRect);
        FFocusedButton->SetTimeBtnState(s);
        FFocusedButton->Invalidate();
    }
    TWinControl::WMSetFocus(Message);
}

void TPsgSpinButton::WMKillFocus(TMessage &Message)
{
    if (FFocusedButton) {
        TTimeBtnState s = FFocusedButton->TimeBtnState();
        s.Exclude(tbFocusRect);
        FFocusedButton->SetTimeBtnState(s);
        FFocusedButton->Invalidate();
    }
    TWinControl::WMKillFocus(Message);
}

// ---------------------------------------------------------------------------------------------
// TPsgSpinEdit

TPsgSpinEdit::TPsgSpinEdit(TComponent *AOwner) : TCustomMaskEdit(AOwner)
{
    FButton = new TPsgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject *Sender) { UpButtonClick(Sender); };
    FButton->OnDownClick = [this](TObject *Sender) { DownButtonClick(Sender); };
    SetText(QStringLiteral("0"));
    TControlStyle style = ControlStyle();
    style.Exclude(csSetCaption);
    SetControlStyle(style);
    PlaceButton();
}

TPsgSpinEdit::~TPsgSpinEdit()
{
    // The spin button goes with the edit's children; nothing may reach it from here on.
    FButton = nullptr;
}

// --- values ----------------------------------------------------------------------------------

int32_t TPsgSpinEdit::CheckValue(int32_t v) const
{
    if (FMinValue == FMaxValue)
        return v;
    if (v <= FMinValue)
        return FMinValue;
    if (v >= FMaxValue)
        return FMaxValue;
    return v;
}

double TPsgSpinEdit::CheckFloatValue(double v) const
{
    if (FMinFloatValue == FMaxFloatValue)
        return v;
    if (v <= FMinFloatValue)
        return FMinFloatValue;
    if (v >= FMaxFloatValue)
        return FMaxFloatValue;
    return v;
}

TDateTime TPsgSpinEdit::CheckDateValue(TDateTime v) const
{
    if (FMinDateValue == FMaxDateValue)
        return v;
    if (v <= FMinDateValue)
        return FMinDateValue;
    if (v >= FMaxDateValue)
        return FMaxDateValue;
    return v;
}

int32_t TPsgSpinEdit::Value() const
{
    const QString t = Trim(Text());
    if (t.isEmpty())
        return 0;
    int32_t v;
    return TryStrToInt(t, v) ? v : FMinValue;
}

void TPsgSpinEdit::SetValue(int32_t v)
{
    SetText(IntToStr(CheckValue(v)));
    if (!FEditorEnabled)
        SelectAll();
}

double TPsgSpinEdit::FloatValue() const
{
    double v;
    return TryStrToFloat(Text(), v) ? v : double(FMinValue);
}

void TPsgSpinEdit::SetFloatValue(double v)
{
    v = CheckFloatValue(v);
    SetText(FPrecision == 0 ? FloatToStr(v) : FloatToStrF(v, ffFixed, 15, FPrecision));
}

TDateTime TPsgSpinEdit::DateValue() const
{
    const QString t = Text();
    if (t.isEmpty() || t == QLatin1String("0"))
        return Now();
    TDateTime v;
    return TryStrToDate(t, v) ? v : FMinDateValue;
}

void TPsgSpinEdit::SetDateValue(TDateTime v)
{
    FDateValue = v;
    if (ComponentState().Contains(csLoading))
        return;
    const int caret = SelStart();
    SetText(DateToStr(CheckDateValue(v)));
    SetSelStart(caret);
}

TDateTime TPsgSpinEdit::TimeValue() const
{
    TDateTime v;
    return TryStrToTime(Text(), v) ? v : 0;
}

QString TPsgSpinEdit::TimeText(TDateTime v) const
{
    return FShowSeconds ? TimeToStr(v) : FormatDateTime(QStringLiteral("h:nn"), v);
}

void TPsgSpinEdit::SetTimeValue(TDateTime v)
{
    FTimeValue = v;
    if (ComponentState().Contains(csLoading))
        return;
    const int caret = SelStart();
    SetText(TimeText(CheckDateValue(v)));
    SetSelStart(caret);
}

void TPsgSpinEdit::ReformatText()
{
    switch (FSpinType) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TPsgSpinEdit::SetSpinType(TPsgSpinType v)
{
    FSpinType = v;
    // A stored edit re-formats once it is loaded, when its date or time value is known.
    if (!ComponentState().Contains(csLoading))
        ReformatText();
}

void TPsgSpinEdit::SetPrecision(int32_t v)
{
    FPrecision = v;
    if (FSpinType == sptFloat && !ComponentState().Contains(csLoading))
        SetFloatValue(FloatValue());
}

void TPsgSpinEdit::Loading()
{
    SetComponentStateItem(csLoading, true);
}

void TPsgSpinEdit::Loaded()
{
    SetComponentStateItem(csLoading, false);
    if (FSpinType == sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == sptTime)
        SetText(TimeText(FTimeValue));
    ReformatText();
}

// --- stepping --------------------------------------------------------------------------------

void TPsgSpinEdit::UpButtonClick(TObject *) { UpClick(false); }
void TPsgSpinEdit::DownButtonClick(TObject *) { DownClick(false); }

void TPsgSpinEdit::UpClick(bool Page)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    Step(1, Page);
}

void TPsgSpinEdit::DownClick(bool Page)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    Step(-1, Page);
}

void TPsgSpinEdit::Step(int d, bool Page)
{
    switch (FSpinType) {
    case sptNormal: {
        // A step past the 32-bit range stops at its end.
        const int64_t v = int64_t(Value()) + int64_t(d) * FIncrement;
        SetValue(int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())));
        break;
    }
    case sptFloat:
        SetFloatValue(FloatValue() + d * (Page ? FIncrementFloatPage : FIncrementFloat));
        break;
    case sptDate: StepDate(d); break;
    case sptTime: StepTime(d); break;
    }
}

void TPsgSpinEdit::StepDate(int d)
{
    const TFormatSettings &fs = ActiveFormatSettings();
    const QString format = UpperCase(fs.ShortDateFormat);
    // Year-first formats count as month-first.
    const bool monthFirst = Pos(QStringLiteral("M"), format) < Pos(QStringLiteral("D"), format);
    const QString t = Text();
    const QString sep(fs.DateSeparator);
    const int p1 = Pos(sep, t);
    const int p2 = p1 > 0 ? Pos(sep, t, p1 + 1) : 0;
    const int caret = SelStart();
    const int field = caret < p1 ? 1 : caret < p2 ? 2 : 3;
    enum { Day, Month, Year } part;
    if (field == 3)
        part = Year;
    else if ((field == 1) == monthFirst)
        part = Month;
    else
        part = Day;

    const TDateTime current = DateValue();
    TDateTime next;
    switch (part) {
    case Month: next = IncMonth(current, d); break;
    case Day: next = current + d; break;
    default: {
        Word y, m, day;
        DecodeDate(current, y, m, day);
        // 29 February steps to the 28th in a year without it, as the month step cuts the day.
        const int year = int(y) + d;
        next = EncodeDate(year, m, std::min<int>(day, DaysInAMonth(year, m)));
        break;
    }
    }
    SetDateValue(next);
}

void TPsgSpinEdit::StepTime(int d)
{
    const QString t = Text();
    const QString sep(ActiveFormatSettings().TimeSeparator);
    const int p1 = Pos(sep, t);
    const int p2 = p1 > 0 ? Pos(sep, t, p1 + 1) : 0;
    const int caret = SelStart();
    TDateTime step;
    if (caret < p1)
        step = EncodeTime(FIncrementHours, 0, 0, 0);
    else if (FShowSeconds && caret >= p2)
        step = EncodeTime(0, 0, FIncrementSeconds, 0);
    else
        step = EncodeTime(0, FIncrementMinutes, 0, 0);
    if (d > 0) {
        SetTimeValue(TimeValue() + step);
    } else {
        // Down goes round midnight: a day is added first and taken off again when it is not needed.
        TDateTime x = TimeValue() + 1 - step;
        if (x > 1)
            x -= 1;
        SetTimeValue(x);
    }
}

// --- keys ------------------------------------------------------------------------------------

bool TPsgSpinEdit::IsValidChar(QChar Key)
{
    const ushort k = Key.unicode();
    if (k == 8)
        return FEditorEnabled;
    const TFormatSettings &fs = ActiveFormatSettings();
    const QChar minus = QLatin1Char('-');
    bool result = Key == fs.DecimalSeparator || Key == fs.ThousandSeparator || Key == fs.TimeSeparator ||
                  Key == fs.DateSeparator || Key.isNumber() || Key == minus || (k < 32 && k != 13);

    // A time or date separator only belongs to its own kind of value, unless it doubles as a
    // character of numbers.
    const bool numeric = FSpinType == sptNormal || FSpinType == sptFloat;
    auto ofNumbers = [&](QChar sep) {
        return sep == fs.DecimalSeparator || sep == fs.ThousandSeparator || sep == minus || sep == QLatin1Char('+');
    };
    if (Key == fs.TimeSeparator && FSpinType != sptTime && !(ofNumbers(fs.TimeSeparator) && numeric))
        result = false;
    if (Key == fs.DateSeparator && FSpinType != sptDate && !(ofNumbers(fs.DateSeparator) && numeric))
        result = false;

    if (Key == minus) {
        const QString t = Text();
        if (!t.contains(minus))
            result = result && SelStart() == 0;
        else
            result = result && SelText().contains(minus) && SelStart() == 0;
    }

    // Control characters (the clipboard keys among them) keep their verdict in an integer.
    if (FSpinType == sptNormal)
        result = result && (Key.isNumber() || Key == minus || k < 32);

    if (FSpinType == sptFloat && k != 27 && k != 13 && k != 8) {
        const QString t = Text();
        const QChar dec = fs.DecimalSeparator;
        if (Key == fs.ThousandSeparator)
            result = false;
        if (Key == dec && t.contains(dec) && !SelText().contains(dec))
            result = false;
        const int p = Pos(QString(dec), t);
        if (FPrecision > 0 && p > 0 && SelStart() >= p && SelLength() == 0 && result)
            result = t.size() < p + FPrecision;
    }

    if (FSpinType == sptTime && Key == fs.TimeSeparator && Text().count(fs.TimeSeparator) >= 2)
        result = false;

    if (!FEditorEnabled && k >= 32)
        result = false;
    return result;
}

void TPsgSpinEdit::WMKeyDown(TMessage &Message)
{
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.CharCode()) {
        case VK_PRIOR: UpClick(true); Message.Result = 0; return;
        case VK_NEXT: DownClick(true); Message.Result = 0; return;
        case VK_UP: UpClick(false); Message.Result = 0; return;
        case VK_DOWN: DownClick(false); Message.Result = 0; return;
        default: break;
        }
    }
    TCustomMaskEdit::WMKeyDown(Message);
}

void TPsgSpinEdit::WMChar(TMessage &Message)
{
    // Bit 22 of the key data comes with the keypad's decimal key (its scan code), not with the
    // main keyboard's point.
    if (FExcelStyleDecimalSeparator && Message.CharCode() == '.' && (Message.KeyData() & (LPARAM(1) << 22)))
        Message.SetCharCode(ActiveFormatSettings().DecimalSeparator.unicode());
    TCustomMaskEdit::WMChar(Message);
}

void TPsgSpinEdit::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled)
        Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TPsgSpinEdit::KeyPress(QChar &Key)
{
    if (!IsValidChar(Key)) {
        Key = QChar(0);
        MessageBeep(0);
    }
    if (Key.unicode() != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TPsgSpinEdit::Dispatch(TMessage &Message)
{
    if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!FEditorEnabled || ReadOnly()))
        return;
    TCustomMaskEdit::Dispatch(Message);
}

// --- focus -----------------------------------------------------------------------------------

void TPsgSpinEdit::DoEnter()
{
    if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0 && FEditorEnabled))
        SelectAll();
    // The edit's own entering would select the whole text whatever the mouse does.
    TWinControl::DoEnter();
}

void TPsgSpinEdit::CMExit(TMessage &Message)
{
    TCustomMaskEdit::CMExit(Message);
    switch (FSpinType) {
    case sptNormal: {
        const int32_t v = Value();
        if (CheckValue(v) != v)
            SetValue(v);
        break;
    }
    case sptFloat: {
        const double v = FloatValue();
        if (CheckFloatValue(v) != v)
            SetFloatValue(v);
        break;
    }
    case sptDate: {
        const TDateTime v = DateValue();
        if (CheckDateValue(v) != v)
            SetDateValue(v);
        break;
    }
    case sptTime: {
        const TDateTime v = TimeValue();
        if (CheckDateValue(v) != v)
            SetTimeValue(v);
        break;
    }
    }
}

// --- look and layout -------------------------------------------------------------------------

void TPsgSpinEdit::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FButton->SetIsWinXP(Value);
}

void TPsgSpinEdit::NudgeWidth()
{
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TPsgSpinEdit::SetDirection(TSpinDirection v)
{
    FDirection = v;
    FButton->SetDirection(v);
    NudgeWidth();
}

void TPsgSpinEdit::SetSpinFlat(bool v)
{
    FSpinFlat = v;
    FButton->UpButton()->SetFlat(v);
    FButton->DownButton()->SetFlat(v);
}

void TPsgSpinEdit::SetSpinTransparent(bool v)
{
    FSpinTransparent = v;
    FButton->UpButton()->SetTransparent(v);
    FButton->DownButton()->SetTransparent(v);
    NudgeWidth();
}

void TPsgSpinEdit::SetEditAlign(TEditAlign v)
{
    FEditAlign = v;
    SetAlignment(v == eaRight ? taRightJustify : v == eaCenter ? taCenter : taLeftJustify);
}

void TPsgSpinEdit::SetCtl3D(bool v)
{
    FCtl3D = v;
    PlaceButton();
}

void TPsgSpinEdit::SetBorderStyle(TBorderStyle v)
{
    TCustomMaskEdit::SetBorderStyle(v);
    PlaceButton();
}

int TPsgSpinEdit::MinHeight() const
{
    // The desktop's default font stands for the system font.
    TCanvas canvas;
    const int hs = canvas.TextHeight(QStringLiteral("0"));
    canvas.Font()->Assign(Font());
    const int hf = canvas.TextHeight(QStringLiteral("0"));
    int result = hf + std::min(hs, hf) / 4 + 2;
    if (BorderStyle() == bsSingle)
        result += GetSystemMetrics(SM_CYBORDER) * 4;
    return result;
}

void TPsgSpinEdit::Resize()
{
    PlaceButton();
    TCustomMaskEdit::Resize();
}

void TPsgSpinEdit::PlaceButton()
{
    if (!FButton)
        return;
    const int min = MinHeight();
    if (Height() < min) {
        // The resize this causes places the button.
        SetHeight(min);
        return;
    }
    const int bw = FButton->Width();
    if (FCtl3D) {
        const bool bordered = BorderStyle() != bsNone;
        const int d = bordered ? 5 : 1;
        // Client coordinates of the original edit start inside its frame.
        const int edge = bordered ? EditEdge : 0;
        FButton->SetBounds(Width() - bw - d + edge, edge, bw, Height() - d);
    } else {
        FButton->SetBounds(Width() - bw, 1, bw, Height() - 3);
    }
    SetEditRect();
}

void TPsgSpinEdit::SetEditRect()
{
    const int inset = BorderStyle() == bsNone ? 3 : 0;
    TRect r(inset, inset, ClientWidth() - FButton->Width() - 2 - inset, ClientHeight() + 1);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}
