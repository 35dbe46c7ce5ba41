#include "grid/core/ProGridCompanions.h"
#include "grid/core/ProGrid.h"

// ---- Background ----------------------------------------------------------------------------------

void TBackGround::SetBitmap(TBitmap *v)
{
    FBitmap->Assign(v);
    FGrid->Invalidate();
}

void TBackGround::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TBackGround *>(Source);
    if (!src)
        return;
    FTop = src->FTop;
    FLeft = src->FLeft;
    FDisplay = src->FDisplay;
    FBitmap->Assign(src->FBitmap.get());
    FCells = src->FCells;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FGrid->Invalidate();
}

// ---- Grouping ------------------------------------------------------------------------------------

void TGrouping::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TGrouping *>(Source);
    if (!src)
        return;
    FGroupCountFormat = src->FGroupCountFormat;
    FHeaderColor = src->FHeaderColor;
    FHeaderColorTo = src->FHeaderColorTo;
    FHeaderTextColor = src->FHeaderTextColor;
    FHeaderUnderline = src->FHeaderUnderline;
    FMergeHeader = src->FMergeHeader;
    FMergeSummary = src->FMergeSummary;
    FShowGroupCount = src->FShowGroupCount;
    FSummaryColor = src->FSummaryColor;
    FSummaryColorTo = src->FSummaryColorTo;
    FSummaryTextColor = src->FSummaryTextColor;
    FSummaryLine = src->FSummaryLine;
    FAutoCheckGroup = src->FAutoCheckGroup;
    FAutoSelectGroup = src->FAutoSelectGroup;
}

// ---- Drag scrolling ------------------------------------------------------------------------------

void TDragScrollDelays::Assign(TPersistent *Source)
{
    if (auto *src = dynamic_cast<TDragScrollDelays *>(Source)) {
        FInitialDelay = src->FInitialDelay;
        FRepeatDelay = src->FRepeatDelay;
    }
}

void TDragScrollMargins::Assign(TPersistent *Source)
{
    if (auto *src = dynamic_cast<TDragScrollMargins *>(Source)) {
        FTopMargin = src->FTopMargin;
        FBottomMargin = src->FBottomMargin;
        FLeftMargin = src->FLeftMargin;
        FRightMargin = src->FRightMargin;
    }
}

void TDragScrollOptions::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TDragScrollOptions *>(Source);
    if (!src)
        return;
    FMargins->Assign(src->FMargins.get());
    FDelays->Assign(src->FDelays.get());
    FActive = src->FActive;
}

// ---- Progress bars -------------------------------------------------------------------------------

void TGridProgressAppearance::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TGridProgressAppearance *>(Source);
    if (!src)
        return;
    FCompleteColor = src->FCompleteColor;
    FCompleteFontColor = src->FCompleteFontColor;
    FUnCompleteColor = src->FUnCompleteColor;
    FUnCompleteFontColor = src->FUnCompleteFontColor;
    FLevel0Color = src->FLevel0Color;
    FLevel0ColorTo = src->FLevel0ColorTo;
    FLevel1Color = src->FLevel1Color;
    FLevel1ColorTo = src->FLevel1ColorTo;
    FLevel2Color = src->FLevel2Color;
    FLevel2ColorTo = src->FLevel2ColorTo;
    FLevel3Color = src->FLevel3Color;
    FLevel3ColorTo = src->FLevel3ColorTo;
    FLevel1Perc = src->FLevel1Perc;
    FLevel2Perc = src->FLevel2Perc;
    FBorderColor = src->FBorderColor;
    FShowBorder = src->FShowBorder;
    FStacked = src->FStacked;
    FShowPercentage = src->FShowPercentage;
    FCompletionSmooth = src->FCompletionSmooth;
    FShowGradient = src->FShowGradient;
    FSteps = src->FSteps;
    FStyle = src->FStyle;
    Changed();
}

// ---- Look of cell controls -----------------------------------------------------------------------

TControlLook::TControlLook(TProStringGrid *AGrid) : FGrid(AGrid) { Init(); }

void TControlLook::InvalidateGrid()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TControlLook::Init()
{
    FColor = 0;
    FCommentColor = clRed;
    FProgressBorderColor = clGray;
    FFixedGradientFrom = clNone;
    FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = clGray;
    FFixedGradientHoverTo = clWhite;
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    FFixedGradientHoverBorder = clSilver;
    FFixedGradientDownFrom = clGray;
    FFixedGradientDownTo = clSilver;
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
    FFixedGradientDownBorder = clGray;
}

void TControlLook::SetFixedGradientFrom(TColor v)
{
    FFixedGradientFrom = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientFrom(v);
}

void TControlLook::SetFixedGradientTo(TColor v)
{
    FFixedGradientTo = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientTo(v);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor v)
{
    FFixedGradientMirrorFrom = v;
    if (FGrid)
        FGrid->SetDUZGradientMirrorFrom(v);
}

void TControlLook::SetFixedGradientMirrorTo(TColor v)
{
    FFixedGradientMirrorTo = v;
    if (FGrid)
        FGrid->SetDUZGradientMirrorTo(v);
}

void TControlLook::SetFixedGradientHoverFrom(TColor v)
{
    FFixedGradientHoverFrom = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientHoverFrom(v);
}

void TControlLook::SetFixedGradientHoverTo(TColor v)
{
    FFixedGradientHoverTo = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientHoverTo(v);
}

void TControlLook::SetFixedGradientHoverMirrorFrom(TColor v)
{
    FFixedGradientHoverMirrorFrom = v;
    if (FGrid)
        FGrid->SetDUZGradientHoverMirrorFrom(v);
}

void TControlLook::SetFixedGradientHoverMirrorTo(TColor v)
{
    FFixedGradientHoverMirrorTo = v;
    if (FGrid)
        FGrid->SetDUZGradientHoverMirrorTo(v);
}

void TControlLook::SetFixedGradientHoverBorder(TColor v)
{
    FFixedGradientHoverBorder = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientHoverBorder(v);
}

void TControlLook::SetFixedGradientDownFrom(TColor v)
{
    FFixedGradientDownFrom = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientDownFrom(v);
}

void TControlLook::SetFixedGradientDownTo(TColor v)
{
    FFixedGradientDownTo = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientDownTo(v);
}

void TControlLook::SetFixedGradientDownMirrorFrom(TColor v)
{
    FFixedGradientDownMirrorFrom = v;
    if (FGrid)
        FGrid->SetDUZGradientDownMirrorFrom(v);
}

void TControlLook::SetFixedGradientDownMirrorTo(TColor v)
{
    FFixedGradientDownMirrorTo = v;
    if (FGrid)
        FGrid->SetDUZGradientDownMirrorTo(v);
}

void TControlLook::SetFixedGradientDownBorder(TColor v)
{
    FFixedGradientDownBorder = v;
    if (v != clNone && FGrid)
        FGrid->SetDUZGradientDownBorder(v);
}

void TControlLook::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TControlLook *>(Source);
    if (!src)
        return;
    FCheckSize = src->FCheckSize;
    FRadioSize = src->FRadioSize;
    FControlStyle = src->FControlStyle;
    FCheckedGlyph->Assign(src->FCheckedGlyph.get());
    FUnCheckedGlyph->Assign(src->FUnCheckedGlyph.get());
    FRadioOnGlyph->Assign(src->FRadioOnGlyph.get());
    FRadioOffGlyph->Assign(src->FRadioOffGlyph.get());
    FProgressMarginX = src->FProgressMarginX;
    FProgressMarginY = src->FProgressMarginY;
    FCommentColor = src->FCommentColor;
    FColor = src->FColor;
    FProgressBorderColor = src->FProgressBorderColor;
    FCheckAlwaysActive = src->FCheckAlwaysActive;
    FRadioAlwaysActive = src->FRadioAlwaysActive;
    FFixedGradientHoverBorder = src->FFixedGradientHoverBorder;
    FFixedGradientDownBorder = src->FFixedGradientDownBorder;
    FDropDownAlwaysVisible = src->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = src->FSpinButtonsAlwaysVisible;
    FDropDownCount = src->FDropDownCount;
    // A copy reads as its source does.
    FFixedGradientFrom = src->FFixedGradientFrom;
    FFixedGradientTo = src->FFixedGradientTo;
    FFixedGradientMirrorFrom = src->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = src->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = src->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = src->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = src->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = src->FFixedGradientHoverMirrorTo;
    FFixedGradientDownFrom = src->FFixedGradientDownFrom;
    FFixedGradientDownTo = src->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = src->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = src->FFixedGradientDownMirrorTo;
}

// ---- Balloons, drag and drop -------------------------------------------------------------------

void TBalloonSettings::SetEnable(bool v)
{
    FEnable = v;
    if (OnEnableChange)
        OnEnableChange(this);
}

void TBalloonSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TBalloonSettings *>(Source);
    if (!src)
        return;
    FTextColor = src->FTextColor;
    FBackgroundColor = src->FBackgroundColor;
    FInitialDelay = src->FInitialDelay;
    FAutoHideDelay = src->FAutoHideDelay;
    FReshowDelay = src->FReshowDelay;
    FEnable = src->FEnable;
}

void TDragDropSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TDragDropSettings *>(Source);
    if (!src)
        return;
    FOleAcceptText = src->FOleAcceptText;
    FOleAcceptFiles = src->FOleAcceptFiles;
    FOleAcceptURLs = src->FOleAcceptURLs;
    FOleEntireRows = src->FOleEntireRows;
}

