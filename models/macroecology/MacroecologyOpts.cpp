// The Macroecology options dialog.
#include "models/macroecology/MacroecologyOpts.h"
#include "framework/graphics/Graphics.h"
#include "models/macroecology/MacroecologySims.h"
#include "models/macroecology/MacroecologyUserDefined.h"

#include <initializer_list>
#include <memory>
#include <vector>

TMacroecologyOpts *MacroecologyOpts = nullptr;

namespace {

TRadioGroup *NewRadioGroup(TComponent *Owner, TWinControl *Parent, const char *Name, const QString &Caption,
                           std::initializer_list<const char *> Items, int Left, int Top, int Width, int Height)
{
    auto *g = new TRadioGroup(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, Top, Width, Height);
    for (const char *item : Items) g->Items()->Add(QString::fromLatin1(item));
    g->SetItemIndex(0);
    return g;
}

// A 20 x 20 picture: the box's frame and, filled, the region the item names.
TSpeedButton *NewPictureButton(TComponent *Owner, TWinControl *Parent, const char *Name, int Left, int Top,
                               const std::vector<TPoint> &Region)
{
    auto *b = new TSpeedButton(Owner);
    b->SetName(QLatin1String(Name));
    b->SetParent(Parent);
    b->SetBounds(Left, Top, 24, 22);
    b->SetFlat(true);
    TBitmap glyph;
    glyph.SetSize(20, 20);
    TCanvas *c = glyph.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 20));
    c->Pen()->SetColor(clNavy);
    c->Brush()->SetColor(clSkyBlue);
    c->Polygon(Region);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(1, 1, 19, 19);
    b->SetGlyph(&glyph);
    return b;
}

}  // namespace

TMacroecologyOpts::TMacroecologyOpts(TComponent *AOwner)
    : TTwoColumnOpts(AOwner, "MacroecologyOpts", QStringLiteral("Tarvix Professional: Macroecology Options"),
                     "XvariableList", QStringLiteral("&X variable:"), "YvariableList", QStringLiteral("&Y variable:"),
                     CurrentX_Column, CurrentY_Column),
      XvariableLabel(firstLabel_), YvariableLabel(secondLabel_), XvariableList(first_), YvariableList(second_)
{
    SetBounds(0, 0, 560, 420);
    TTabSheet *p = PreferencesSheet;
    SymmetryGroup = NewRadioGroup(this, p, "SymmetryGroup", QStringLiteral("Da&ta distribution"),
                                  {"symmetric", "asymmetric"}, 16, 124, 230, 70);
    ConstraintsGroup =
        NewRadioGroup(this, p, "ConstraintsGroup", QStringLiteral("Co&nstraints"),
                      {"data-defined", "user-defined (uniform)", "user-defined (normal)"}, 16, 202, 230, 92);
    EditButton = new TButton(this);
    EditButton->SetName(QStringLiteral("EditButton"));
    EditButton->SetParent(p);
    EditButton->SetCaption(QStringLiteral("&Edit"));
    EditButton->SetBounds(16, 302, 80, 27);
    EditButton->SetVisible(false);
    PatternGroup = NewRadioGroup(this, p, "PatternGroup", QStringLiteral("&Shapes"),
                                 {"left triangle", "right triangle", "pyramid", "inverted pyramid"}, 270, 12, 200, 124);
    BoundaryGroup = NewRadioGroup(this, p, "BoundaryGroup", QStringLiteral("&Boundary test"),
                                  {"upper right", "upper left", "lower right", "lower left"}, 270, 150, 200, 124);
    // Pictures of the shapes and the corners beside their items.
    const auto top = [](int GroupTop, int Item) { return GroupTop + 24 + Item * 24; };
    SpeedButton1 = NewPictureButton(this, p, "SpeedButton1", 478, top(12, 0), {{2, 2}, {18, 18}, {2, 18}});
    SpeedButton2 = NewPictureButton(this, p, "SpeedButton2", 478, top(12, 1), {{18, 2}, {18, 18}, {2, 18}});
    SpeedButton3 = NewPictureButton(this, p, "SpeedButton3", 478, top(12, 2), {{10, 2}, {18, 18}, {2, 18}});
    SpeedButton4 = NewPictureButton(this, p, "SpeedButton4", 478, top(12, 3), {{2, 2}, {18, 2}, {10, 18}});
    SpeedButton5 = NewPictureButton(this, p, "SpeedButton5", 478, top(150, 0), {{10, 2}, {18, 2}, {18, 10}});
    SpeedButton6 = NewPictureButton(this, p, "SpeedButton6", 478, top(150, 1), {{2, 2}, {10, 2}, {2, 10}});
    SpeedButton7 = NewPictureButton(this, p, "SpeedButton7", 478, top(150, 2), {{18, 10}, {18, 18}, {10, 18}});
    SpeedButton8 = NewPictureButton(this, p, "SpeedButton8", 478, top(150, 3), {{2, 10}, {10, 18}, {2, 18}});

    // Wired last: the defaults above are not user choices.
    ConstraintsGroup->OnClick = [this](TObject *Sender) { ConstraintsGroupClick(Sender); };
    EditButton->OnClick = [this](TObject *Sender) { EditButtonClick(Sender); };
}

void TMacroecologyOpts::ShowMore()
{
    PatternGroup->SetItemIndex(Current_Pattern);
    BoundaryGroup->SetItemIndex(Current_Boundary);
    SymmetryGroup->SetItemIndex(Current_Symmetry);
    ConstraintsGroup->SetItemIndex(Current_Constraint);
}

void TMacroecologyOpts::CloseMore()
{
    Current_Pattern = PatternGroup->ItemIndex();
    Current_Symmetry = SymmetryGroup->ItemIndex();
    Current_Constraint = ConstraintsGroup->ItemIndex();
    Current_Boundary = BoundaryGroup->ItemIndex();
}

void TMacroecologyOpts::ResetMore()
{
    PatternGroup->SetItemIndex(mpLeftTriangle);
    SymmetryGroup->SetItemIndex(msSymmetric);
    ConstraintsGroup->SetItemIndex(mcDataDefined);
    BoundaryGroup->SetItemIndex(mbUpperRight);
}

void TMacroecologyOpts::ConstraintsGroupClick(TObject *)
{
    const int32_t item = ConstraintsGroup->ItemIndex();
    EditButton->SetVisible(item == mcUniform || item == mcNormal);
    // The dialogs may be missing in a program that did not create them.
    if (item == mcUniform && MacroEcologyUD1) MacroEcologyUD1->ShowModal();
    if (item == mcNormal && MacroEcologyUD2) MacroEcologyUD2->ShowModal();
}

void TMacroecologyOpts::EditButtonClick(TObject *Sender) { ConstraintsGroupClick(Sender); }
