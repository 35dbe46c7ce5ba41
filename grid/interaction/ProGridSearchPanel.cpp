// The search footer's strip and its search box.
#include "grid/core/ProGridSearchPanel.h"
#include "grid/core/ProGrid.h"

// ---------------------------------------------------------------------------------------------
// The search box

void TRetEdit::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        TNotifyEvent &ev = Shift.Contains(ssCtrl) ? OnCtrlReturn : OnReturn;
        Key = 0;
        if (ev)
            ev(this);
        return;
    }
    TEdit::KeyDown(Key, Shift);
}

void TRetEdit::KeyPress(QChar &Key)
{
    if (Key == QChar(13) || Key == QChar(10)) {
        if (OnKeyPress)
            OnKeyPress(this, Key);
        Key = QChar(0);
        return;
    }
    TEdit::KeyPress(Key);
}

// ---------------------------------------------------------------------------------------------
// Glyphs

namespace {

void StartGlyph(TBitmap &B, int W, int H)
{
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, H);
    // The top-left pixel's colour is the transparent one.
    B.Canvas()->Brush()->SetStyle(bsSolid);
    B.Canvas()->Brush()->SetColor(clFuchsia);
    B.Canvas()->FillRect(TRect(0, 0, W, H));
    B.SetTransparent(true);
    B.SetTransparentColor(clFuchsia);
    B.SetTransparentMode(tmFixed);
}

void Arrow(TBitmap &B, bool Down, TColor C)
{
    StartGlyph(B, 12, 12);
    TCanvas *c = B.Canvas();
    c->Pen()->SetColor(C);
    c->Brush()->SetColor(C);
    if (Down)
        c->Polygon({TPoint(2, 4), TPoint(9, 4), TPoint(5, 8)});
    else
        c->Polygon({TPoint(2, 8), TPoint(9, 8), TPoint(5, 4)});
}

void Cross(TBitmap &B, TColor Back, TColor C)
{
    StartGlyph(B, 12, 12);
    TCanvas *c = B.Canvas();
    if (Back != clNone) {
        c->Brush()->SetColor(Back);
        c->FillRect(TRect(1, 1, 11, 11));
    }
    c->Pen()->SetColor(C);
    c->Pen()->SetWidth(2);
    c->MoveTo(3, 3);
    c->LineTo(9, 9);
    c->MoveTo(9, 3);
    c->LineTo(3, 9);
    c->Pen()->SetWidth(1);
}

void Marker(TBitmap &B, TColor C)
{
    StartGlyph(B, 12, 12);
    TCanvas *c = B.Canvas();
    c->Brush()->SetColor(C);
    c->FillRect(TRect(1, 3, 11, 9));
    c->Pen()->SetColor(clBlack);
    c->MoveTo(3, 6);
    c->LineTo(9, 6);
}

QChar AccelOf(const QString &Caption)
{
    for (int i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != QLatin1Char('&'))
            continue;
        if (Caption[i + 1] != QLatin1Char('&'))
            return Caption[i + 1];
        ++i;
    }
    return QChar();
}

} // namespace

bool LoadSearchPanelGlyph(const QString &ResName, TBitmap &Bitmap)
{
    const QString n = ResName.toUpper();
    const TColor grey = TColor(0x999999);
    if (n == QLatin1String("PSGARDOWN") || n == QLatin1String("PSGARDOWND"))
        Arrow(Bitmap, true, n.endsWith(QLatin1Char('D')) && n.size() == 10 ? grey : clBlack);
    else if (n == QLatin1String("PSGARUP") || n == QLatin1String("PSGARUPD"))
        Arrow(Bitmap, false, n.size() == 8 ? grey : clBlack);
    else if (n == QLatin1String("PSGCLOSE"))
        Cross(Bitmap, clNone, TColor(0x404040));
    else if (n == QLatin1String("PSGCLOSEH"))
        Cross(Bitmap, TColor(0xC0C0FF), clBlack);
    else if (n == QLatin1String("PSGCLOSED"))
        Cross(Bitmap, TColor(0x8080E0), clBlack);
    else if (n == QLatin1String("PSGHI"))
        Marker(Bitmap, clYellow);
    else if (n == QLatin1String("PSGHID"))
        Marker(Bitmap, TColor(0xC0C0C0));
    else
        return false;
    return true;
}

bool SearchCaptionAccel(WPARAM Key, const QString &Caption)
{
    const QChar a = AccelOf(Caption);
    return !a.isNull() && a.toUpper() == QChar(char16_t(Key)).toUpper();
}

// ---------------------------------------------------------------------------------------------
// The panel

namespace {

void LoadGlyph(TBitmap *Target, const char *Name)
{
    TBitmap b;
    if (LoadSearchPanelGlyph(QString::fromLatin1(Name), b))
        Target->Assign(&b);
}

void SetHintIfAny(TControl *C, const QString &Hint)
{
    C->SetHint(Hint);
    C->SetShowHint(!Hint.isEmpty());
}

} // namespace

TSearchPanel::TSearchPanel(TComponent *AOwner) : TCustomPanel(AOwner)
{
    FGrid = dynamic_cast<TProStringGrid *>(AOwner);
    SetBevelOuter(bvNone);
    FEdit = new TRetEdit(this);
    FExitButton = new TProGridButton(this);
    FForwardButton = new TProGridButton(this);
    FBackwardButton = new TProGridButton(this);
    FHiliteButton = new TProGridButton(this);
    FMatchCase = new TProCheckBox(this);
}

void TSearchPanel::SetParent(TWinControl *AParent)
{
    TCustomPanel::SetParent(AParent);
    if (AParent && !FWndCreated && !IsDestroying())
        CreateWnd();
}

void TSearchPanel::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Invalidate();
}

bool TSearchPanel::RightToLeft() const { return FGrid && FGrid->BiDiMode() == bdRightToLeft; }

int TSearchPanel::MatchCaseLeft() const { return FHiliteButton->Visible() ? 425 : 330; }

void TSearchPanel::Place(TControl *C, int Left, int Top)
{
    const int l = RightToLeft() ? Width() - C->Width() - Left : Left;
    C->SetBounds(l, Top, C->Width(), C->Height());
}

void TSearchPanel::Arrange()
{
    if (!FWndCreated)
        return;
    Place(FEdit, 25, 6);
    Place(FForwardButton, 140, 5);
    Place(FBackwardButton, 235, 5);
    Place(FExitButton, 5, 7);
    Place(FHiliteButton, 330, 5);
    Place(FMatchCase, MatchCaseLeft(), 8);
}

void TSearchPanel::Resize()
{
    TCustomPanel::Resize();
    Arrange();
}

void TSearchPanel::CreateWnd()
{
    HandleNeeded();
    FWndCreated = true;

    FEdit->SetParent(this);
    FEdit->SetWidth(110);
    FEdit->OnChange = [this](TObject *Sender) { EditChanged(Sender); };
    FEdit->OnReturn = [this](TObject *) {
        if (OnForwardClick)
            OnForwardClick(this);
    };
    FEdit->OnCtrlReturn = [this](TObject *) {
        if (OnBackwardClick)
            OnBackwardClick(this);
    };
    FEdit->OnKeyDown = [](TObject *, Word &, TShiftState) {};

    struct TButtonDef
    {
        TProGridButton *Button;
        const char *Glyph, *Disabled;
        const QString *Caption, *Hint;
        TNotifyEvent TSearchPanel::*Event;
    };
    const TButtonDef defs[] = {
        {FForwardButton, "PSGARDOWN", "PSGARDOWND", &FindNextCaption, &HintFindNext, &TSearchPanel::OnForwardClick},
        {FBackwardButton, "PSGARUP", "PSGARUPD", &FindPrevCaption, &HintFindPrev, &TSearchPanel::OnBackwardClick},
        {FHiliteButton, "PSGHI", "PSGHID", &HighLightCaption, &HintHighlight, &TSearchPanel::OnHighlightClick},
        {FExitButton, "PSGCLOSE", nullptr, nullptr, &HintClose, &TSearchPanel::OnExitClick},
    };
    for (const TButtonDef &d : defs) {
        TProGridButton *b = d.Button;
        b->SetParent(this);
        b->SetParentFont(true);
        LoadGlyph(b->Glyph(), d.Glyph);
        if (d.Disabled)
            LoadGlyph(b->GlyphDisabled(), d.Disabled);
        b->SetCaption(d.Caption ? *d.Caption : QString());
        SetHintIfAny(b, *d.Hint);
        const auto ev = d.Event;
        b->OnClick = [this, ev](TObject *) {
            if (this->*ev)
                (this->*ev)(this);
        };
        if (b == FExitButton) {
            b->SetBounds(0, 0, 14, 14);
            LoadGlyph(b->GlyphHot(), "PSGCLOSEH");
            LoadGlyph(b->GlyphDown(), "PSGCLOSED");
        } else {
            b->SetBounds(0, 0, 90, 23);
            b->SetEnabled(false);
        }
    }
    FHiliteButton->SetStyle(tasCheck);
    TFontStyles plain;
    FHiliteButton->Font()->SetStyle(plain);

    FMatchCase->SetParent(this);
    FMatchCase->SetCaption(MatchCaseCaption);
    FMatchCase->SetChecked(false);
    Arrange();
    if (FGrid && FGrid->OnCreatedSearchFooter)
        FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::EditChanged(TObject *)
{
    const bool any = !FEdit->Text().isEmpty();
    FForwardButton->SetEnabled(any);
    FBackwardButton->SetEnabled(any);
    FHiliteButton->SetEnabled(any);
    if (OnEditChange)
        OnEditChange(this);
}

void TSearchPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas *c = Canvas();
    const TRect r = ClientRect();
    if (FColorTo == clNone) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    } else {
        DrawButtonGradient(c, Color(), FColorTo, false, r, 32, clNone);
    }
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(FGrid ? FGrid->GridLineColor() : clSilver);
    c->MoveTo(0, 0);
    c->LineTo(Width(), 0);
}
