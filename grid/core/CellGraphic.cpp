#include "grid/core/CellGraphic.h"
#include <cmath>

TCellGraphic::~TCellGraphic()
{
    switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (FCellCreated)
            delete FCellBitmap;
        break;
    case ctImages:
    case ctBalloon:
        delete FCellBitmap;
        break;
    case ctIcon:
        if (FCellCreated)
            delete FCellIcon;
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
        // An angle of 1 marks a custom glyph the box owns.
        if (FCellAngle == 1 && FCellBitmap)
            delete FCellBitmap;
        break;
    default:
        break;
    }
}

void TCellGraphic::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TCellGraphic *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FCellType = src->FCellType;
    FCellVAlign = src->FCellVAlign;
    FCellHAlign = src->FCellHAlign;
    FCellIndex = src->FCellIndex;
    FCellTransparent = src->FCellTransparent;
    FCellValue = src->FCellValue;
    FCellAngle = src->FCellAngle;
    FCellBoolean = src->FCellBoolean;
    FCellErrFrom = src->FCellErrFrom;
    FCellErrLen = src->FCellErrLen;
    FCellText = src->FCellText;
    FCellCreated = src->FCellCreated;
}

void TCellGraphic::SetBitmap(TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctBitmap;
    FCellBitmap = ABmp;
    FCellTransparent = Transparent;
    SetAlign(hal, val);
}

void TCellGraphic::SetPicture(TPicture *APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctPicture;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = padding;
    SetAlign(hal, val);
}

void TCellGraphic::SetFilePicture(TFilePicture *APicture, bool Transparent, TStretchMode stretchmode,
                                  int padding, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctFilePicture;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = int(stretchmode);
    FCellIndex = padding;
    SetAlign(hal, val);
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctImageList;
    FCellIndex = idx;
    SetAlign(hal, val);
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctDataImage;
    FCellIndex = idx;
    SetAlign(hal, val);
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier)
{
    FCellType = ctImages;
    SetAlign(hal, val);
    FCellBoolean = dir == 0;
    auto *list = new TIntList(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap = list;
    FCellCreated = true;
}

void TCellGraphic::SetIcon(TIcon *aicon, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctIcon;
    FCellIcon = aicon;
    SetAlign(hal, val);
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = Data ? ctDataCheckBox : ctCheckBox;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
    SetAlign(hal, val);
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctTriStateCheckBox;
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellTransparent = Flat;
    SetAlign(hal, val);
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctRadioButton;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
    SetAlign(hal, val);
}

void TCellGraphic::SetButton(int bw, int bh, const QString &caption, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctButton;
    FCellIndex = int(uint32_t(bh) << 16) + (bw & 0xFFFF);
    FCellBoolean = false;
    FCellText = caption;
    SetAlign(hal, val);
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString &caption, TBitmap *Glyph, TCellHAlign hal,
                                TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    FCellType = ctBitButton;
    FCellBitmap = Glyph;
}

void TCellGraphic::SetAngle(int16_t AAngle)
{
    FCellType = ctRotated;
    int a = AAngle;
    while (a < 0)
        a += 360;
    while (a > 360)
        a -= 360;
    FCellAngle = a;
}

void TCellGraphic::SetInterfacedCell(TObject *AObject)
{
    FCellType = ctInterface;
    FCellBitmap = AObject;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool /*hastext*/) const
{
    int w = 0, h = 0;
    if (FCellType == ctPicture) {
        if (auto *p = CellPicture()) {
            w = p->Width();
            h = p->Height();
        }
    } else if (FCellType == ctFilePicture) {
        if (auto *p = CellFilePicture()) {
            w = p->Width();
            h = p->Height();
        }
    } else {
        return TPoint(0, 0);
    }
    const int a = cw - FCellIndex;
    const int b = rh - FCellIndex;
    auto keepRatio = [&](bool capped) {
        double fx = w <= 0 ? 1.0 : double(a) / w;
        double fy = h <= 0 ? 1.0 : double(b) / h;
        if (capped) {
            fx = std::min(fx, 1.0);
            fy = std::min(fy, 1.0);
        }
        if (fx >= fy)
            return TPoint(int(std::lround(w * fy)), b);
        return TPoint(a, int(std::lround(h * fx)));
    };
    const bool fits = a >= w && b >= h;
    switch (TStretchMode(FCellAngle)) {
    case Stretch:
        return TPoint(a, b);
    case StretchWithAspectRatio:
        return keepRatio(false);
    case Shrink:
        return fits ? TPoint(w, h) : TPoint(a, b);
    case ShrinkWithAspectRatio:
        return fits ? TPoint(w, h) : keepRatio(true);
    default:
        return TPoint(w, h);
    }
}
