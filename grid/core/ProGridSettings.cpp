#include "grid/core/ProGridSettings.h"
#include "framework/rtl/Exceptions.h"
#include "grid/core/BaseGrid.h"

TCellNode::TCellNode(TBaseGrid *AOwner) : FOwner(AOwner) {}

void TCellNode::RepaintOwner()
{
    if (FOwner)
        FOwner->Invalidate();
}

void TCellNode::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TCellNode *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FColor = s->FColor;
    SetNodeType(s->FNodeType);
    FNodeColor = s->FNodeColor;
    FExpandGlyph->Assign(s->FExpandGlyph.get());
    FContractGlyph->Assign(s->FContractGlyph.get());
    FExpandOne = s->FExpandOne;
    SetShowTree(s->FShowTree);
    SetShowTreeFull(s->FShowTreeFull);
    SetNodeIndent(s->FNodeIndent);
    SetTreeColor(s->FTreeColor);
}

void TColumnSize::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TColumnSize *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FSave = s->FSave;
    FKey = s->FKey;
    FSection = s->FSection;
    FStretch = s->FStretch;
    FStretchColumn = s->FStretchColumn;
    FSynchWithGrid = s->FSynchWithGrid;
    FSynchNormalCellsOnly = s->FSynchNormalCellsOnly;
    FLocation = s->FLocation;
    FRows = s->FRows;
}

void THTMLSettings::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<THTMLSettings *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    AutoPreview = s->AutoPreview;
    ConvertSpecialChars = s->ConvertSpecialChars;
    NonBreakingText = s->NonBreakingText;
    SaveColor = s->SaveColor;
    SaveFonts = s->SaveFonts;
    FooterFile = s->FooterFile;
    HeaderFile = s->HeaderFile;
    BorderSize = s->BorderSize;
    CellSpacing = s->CellSpacing;
    CellPadding = s->CellPadding;
    TableStyle = s->TableStyle;
    PrefixTag = s->PrefixTag;
    SuffixTag = s->SuffixTag;
    Summary = s->Summary;
    Width = s->Width;
    XHTML = s->XHTML;
}

void TPrintSettings::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TPrintSettings *>(Source);
    if (!s)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    Time = s->Time;
    Date = s->Date;
    PageNr = s->PageNr;
    Title = s->Title;
    PageNumSep = s->PageNumSep;
    DateFormat = s->DateFormat;
    FFont->Assign(s->FFont.get());
    FHeaderFont->Assign(s->FHeaderFont.get());
    FFooterFont->Assign(s->FFooterFont.get());
    Borders = s->Borders;
    BorderStyle = s->BorderStyle;
    TitleText = s->TitleText;
    FTitleLines->Assign(s->FTitleLines.get());
    Centered = s->Centered;
    RepeatFixedRows = s->RepeatFixedRows;
    RepeatFixedCols = s->RepeatFixedCols;
    FooterSize = s->FooterSize;
    HeaderSize = s->HeaderSize;
    LeftSize = s->LeftSize;
    RightSize = s->RightSize;
    ColumnSpacing = s->ColumnSpacing;
    RowSpacing = s->RowSpacing;
    TitleSpacing = s->TitleSpacing;
    Orientation = s->Orientation;
    PagePrefix = s->PagePrefix;
    PageSuffix = s->PageSuffix;
    FixedHeight = s->FixedHeight;
    UseFixedHeight = s->UseFixedHeight;
    FixedWidth = s->FixedWidth;
    UseFixedWidth = s->UseFixedWidth;
    FitToPage = s->FitToPage;
    NoAutoSize = s->NoAutoSize;
    PrintGraphics = s->PrintGraphics;
    JobName = s->JobName;
    NoAutoSizeRow = s->NoAutoSizeRow;
    PageNumberOffset = s->PageNumberOffset;
    MaxPagesOffset = s->MaxPagesOffset;
    FFixedFont->Assign(s->FFixedFont.get());
    UseDisplayFont = s->UseDisplayFont;
    UseDefaultOrientation = s->UseDefaultOrientation;
    BorderColor = s->BorderColor;
}
