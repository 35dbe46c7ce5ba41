#pragma once
// What a cell shows beside or instead of its text: check boxes, pictures, icons, buttons and more.
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Variants.h"
#include "grid/core/ProGridOptions.h"

enum TCellType {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage,
    ctNode, ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment,
    ctButton, ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary,
    ctRangeIndicator, ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon, ctShape,
    ctRating, ctTriStateCheckBox, ctExpand
};
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

class TCellGraphic : public TPersistent
{
public:
    TCellGraphic() = default;
    ~TCellGraphic() override;
    // Copies the description; the referenced bitmap, icon, variant and tri-state are not copied.
    void Assign(TPersistent *Source) override;

    void SetBitmap(TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetPicture(TPicture *APicture, bool Transparent, TStretchMode StretchMode, int padding,
                    TCellHAlign hal, TCellVAlign val);
    void SetFilePicture(TFilePicture *APicture, bool Transparent, TStretchMode stretchmode, int padding,
                        TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    // The graphic owns the new index list; Notifier hears of its changes.
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
    void SetIcon(TIcon *aicon, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    // The button size goes into the index: height in the high word, width in the low one.
    void SetButton(int bw, int bh, const QString &caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const QString &caption, TBitmap *Glyph, TCellHAlign hal, TCellVAlign val);
    // The angle is brought into 0..360 degrees.
    void SetAngle(int16_t AAngle);
    void SetInterfacedCell(TObject *AObject);

    // Drawn size of a picture (or file picture) in a cw x rh cell; (0, 0) for other kinds.
    TPoint GetPictureSize(int cw, int rh, bool hastext) const;

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType v) { FCellType = v; }
    TObject *CellBitmapObject() const { return FCellBitmap; }
    void SetCellBitmapObject(TObject *v) { FCellBitmap = v; }
    TBitmap *CellBitmap() const { return dynamic_cast<TBitmap *>(FCellBitmap); }
    TPicture *CellPicture() const { return dynamic_cast<TPicture *>(FCellBitmap); }
    TFilePicture *CellFilePicture() const { return dynamic_cast<TFilePicture *>(FCellBitmap); }
    TIntList *CellIntList() const { return dynamic_cast<TIntList *>(FCellBitmap); }
    TStringList *CellStrings() const { return dynamic_cast<TStringList *>(FCellBitmap); }
    TIcon *CellIcon() const { return FCellIcon; }
    void SetCellIcon(TIcon *v) { FCellIcon = v; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign v) { FCellVAlign = v; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign v) { FCellHAlign = v; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int v) { FCellIndex = v; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool v) { FCellTransparent = v; }
    // The graphic owns the bitmap or icon it refers to.
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool v) { FCellCreated = v; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool v) { FCellBoolean = v; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int v) { FCellAngle = v; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double v) { FCellValue = v; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int v) { FCellErrFrom = v; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int v) { FCellErrLen = v; }
    const QString &CellText() const { return FCellText; }
    void SetCellText(const QString &v) { FCellText = v; }
    const Variant &CellVar() const { return FCellVar; }
    void SetCellVar(const Variant &v) { FCellVar = v; }
    // Progress bars, pies, shapes and ratings keep colour values in the bitmap and icon slots.
    TColor CellBitmapColor() const { return TColor(reinterpret_cast<intptr_t>(FCellBitmap)); }
    void SetCellBitmapColor(TColor v) { FCellBitmap = reinterpret_cast<TObject *>(intptr_t(v)); }
    TColor CellIconColor() const { return TColor(reinterpret_cast<intptr_t>(FCellIcon)); }
    void SetCellIconColor(TColor v) { FCellIcon = reinterpret_cast<TIcon *>(intptr_t(v)); }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState v) { FCellCheckBoxState = v; }

private:
    void SetAlign(TCellHAlign hal, TCellVAlign val)
    {
        FCellHAlign = hal;
        FCellVAlign = val;
    }

    TCellType FCellType = ctNone;
    TObject *FCellBitmap = nullptr;
    TIcon *FCellIcon = nullptr;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    QString FCellText;
    Variant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
};

class TProStringGrid;
inline constexpr const char *IID_IGridCell = "{0712BE3F-5C9A-4771-BF71-4C987CDC39B3}";

// An object kept by a ctInterface graphic that draws the cell itself.
class IGridCell
{
public:
    virtual ~IGridCell() = default;
    virtual void Draw(TCanvas *Canvas, const TRect &R, int ACol, int ARow, bool Selected, TProStringGrid *Grid) = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // Drawn before the cell's text rather than over it.
    virtual bool IsBackground() = 0;
};
