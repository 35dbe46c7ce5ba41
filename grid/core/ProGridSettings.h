#pragma once
// The grid's published settings groups: tree nodes, sizing while typing, column sizes,
// HTML export and printing.
#include "framework/graphics/Graphics.h"
#include "framework/os/Printers.h"
#include "grid/core/ProGridOptions.h"
#include <memory>

class TBaseGrid;

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public TPersistent
{
public:
    explicit TCellNode(TBaseGrid *AOwner);
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType v) { Change(FNodeType, v); }
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor v) { FNodeColor = v; }
    TBitmap *ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(TBitmap *v) { FExpandGlyph->Assign(v); }
    TBitmap *ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(TBitmap *v) { FContractGlyph->Assign(v); }
    bool ExpandOne() const { return FExpandOne; }
    void SetExpandOne(bool v) { FExpandOne = v; }
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool v) { Change(FShowTree, v); }
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool v) { Change(FShowTreeFull, v); }
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int v) { Change(FNodeIndent, v); }
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor v) { Change(FTreeColor, v); }

private:
    template <typename T>
    void Change(T &field, T v)
    {
        if (field != v) {
            field = v;
            RepaintOwner();
        }
    }
    void RepaintOwner();

    TBaseGrid *FOwner;
    TColor FColor = 0xC0C0C0;
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = 0;
    std::unique_ptr<TBitmap> FExpandGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FContractGlyph = std::make_unique<TBitmap>();
    bool FExpandOne = false;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = 0x808080;
};

class TSizeWhileTyping : public TPersistent
{
public:
    bool Height() const { return FHeight; }
    void SetHeight(bool v) { FHeight = v; }
    bool Width() const { return FWidth; }
    void SetWidth(bool v) { FWidth = v; }

private:
    bool FHeight = false;
    bool FWidth = false;
};

enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

class TColumnSize : public TPersistent
{
public:
    explicit TColumnSize(TComponent *AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent *Source) override;

    TComponent *Owner() const { return FOwner; }
    bool Save() const { return FSave; }
    void SetSave(bool v) { FSave = v; }
    const QString &Key() const { return FKey; }
    void SetKey(const QString &v) { FKey = v; }
    const QString &Section() const { return FSection; }
    void SetSection(const QString &v) { FSection = v; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v) { FStretch = v; }
    // -1: the last column.
    int StretchColumn() const { return FStretchColumn; }
    void SetStretchColumn(int v) { FStretchColumn = v; }
    bool SynchWithGrid() const { return FSynchWithGrid; }
    void SetSynchWithGrid(bool v) { FSynchWithGrid = v; }
    bool SynchNormalCellsOnly() const { return FSynchNormalCellsOnly; }
    void SetSynchNormalCellsOnly(bool v) { FSynchNormalCellsOnly = v; }
    TColumnSizeLocation Location() const { return FLocation; }
    void SetLocation(TColumnSizeLocation v) { FLocation = v; }
    TAutoSizeRows Rows() const { return FRows; }
    void SetRows(TAutoSizeRows v) { FRows = v; }

private:
    TComponent *FOwner;
    bool FSave = false;
    QString FKey;
    QString FSection;
    bool FStretch = false;
    int FStretchColumn = -1;
    bool FSynchWithGrid = false;
    bool FSynchNormalCellsOnly = false;
    TColumnSizeLocation FLocation = clRegistry;
    TAutoSizeRows FRows = arAll;
};

class THTMLSettings : public TPersistent
{
public:
    // Copies everything but the column widths and ExportImages.
    void Assign(TPersistent *Source) override;

    bool AutoPreview = false;
    bool ConvertSpecialChars = false;
    bool NonBreakingText = false;
    bool SaveColor = true;
    bool SaveFonts = true;
    QString FooterFile;
    QString HeaderFile;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    QString TableStyle;
    QString PrefixTag;
    QString SuffixTag;
    QString Summary;
    // Percent of the page.
    int Width = 100;
    TIntList *ColWidths() const { return FColWidths.get(); }
    bool XHTML = false;
    bool ExportImages = true;

private:
    std::unique_ptr<TIntList> FColWidths = std::make_unique<TIntList>(0, 0);
};

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
// Scoped: the progress bar's orientation already uses pbVertical and pbHorizontal.
enum class TPrintBorders {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical,
    pbAroundHorizontal, pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class TPrintSettings : public TPersistent
{
public:
    explicit TPrintSettings(TComponent *AOwner) : FOwner(AOwner) {}
    // Only another TPrintSettings is accepted.
    void Assign(TPersistent *Source) override;

    TComponent *Owner() const { return FOwner; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *v) { FFont->Assign(v); }
    TFont *HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont *v) { FHeaderFont->Assign(v); }
    TFont *FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont *v) { FFooterFont->Assign(v); }
    TFont *FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont *v) { FFixedFont->Assign(v); }
    TStringList *TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(TStringList *v) { FTitleLines->Assign(v); }
    bool FixedCellsAlways() const { return FFixedCellsAlways; }
    void SetFixedCellsAlways(bool v) { FFixedCellsAlways = v; }

    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    TPrintPosition PageNr = ppNone;
    TPrintPosition Title = ppNone;
    QString PageNumSep = QStringLiteral("/");
    QString DateFormat = QStringLiteral("dd/mm/yyyy");
    TPrintBorders Borders = TPrintBorders::pbSingle;
    TPenStyle BorderStyle = psSolid;
    QString TitleText;
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int FooterSize = 0;
    int HeaderSize = 0;
    int LeftSize = 0;
    int RightSize = 0;
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = poPortrait;
    QString PagePrefix;
    QString PageSuffix;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    int FixedWidth = 0;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false;
    bool PrintGraphics = false;
    QString JobName;
    bool NoAutoSizeRow = false;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    bool UseDisplayFont = true;
    bool UseDefaultOrientation = false;
    TColor BorderColor = 0;

private:
    TComponent *FOwner;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    std::unique_ptr<TFont> FHeaderFont = std::make_unique<TFont>();
    std::unique_ptr<TFont> FFooterFont = std::make_unique<TFont>();
    std::unique_ptr<TStringList> FTitleLines = std::make_unique<TStringList>();
    std::unique_ptr<TFont> FFixedFont = std::make_unique<TFont>();
    bool FFixedCellsAlways = false;
};
