#pragma once
// The holder components of the grid's binary cell stream: each carries a few properties of one
// cell (or of the rectangle) through a component image.
#include "framework/rtl/ComponentStream.h"
#include "grid/core/BaseGrid.h"
#include "grid/core/CellGraphic.h"
#include <memory>

// Size of the rectangle, its column widths and row heights, and the grid that wrote it.
class TGridPropIO : public TStreamedComponent
{
public:
    explicit TGridPropIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;

    int ColCount = 0;
    int RowCount = 0;
    QString ColWidths;
    QString RowHeights;
    bool FullGrid = false;
    int ID = 0;
};

// One cell's position and text. Positions are full integers: a cell beyond row 65535 keeps its row.
class TGridCellIO : public TStreamedComponent
{
public:
    explicit TGridCellIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;

    int Col = 0;
    int Row = 0;
    QString Cell;
    bool HasProp = false;
};

// A cell's properties; the owner must be the grid.
class TGridCellPropIO : public TStreamedComponent
{
public:
    explicit TGridCellPropIO(TComponent *AOwner);
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;

    TCellProperties *CellProperties() const { return FCellProperties.get(); }
    bool HasGraphic = false;

private:
    std::unique_ptr<TCellProperties> FCellProperties;
};

class TGridGraphicIO : public TStreamedComponent
{
public:
    explicit TGridGraphicIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;
    TCellGraphic *CellGraphic() const { return FCellGraphic.get(); }

private:
    std::unique_ptr<TCellGraphic> FCellGraphic = std::make_unique<TCellGraphic>();
};

class TGridBMPIO : public TStreamedComponent
{
public:
    explicit TGridBMPIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;
    TBitmap *Bitmap() const { return FBitmap.get(); }

private:
    std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();
};

class TGridIconIO : public TStreamedComponent
{
public:
    explicit TGridIconIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;
    TIcon *Icon() const { return FIcon.get(); }

private:
    std::unique_ptr<TIcon> FIcon = std::make_unique<TIcon>();
};

// Radio captions, or the image indexes of a cell as one comma-separated line.
class TGridSLIO : public TStreamedComponent
{
public:
    explicit TGridSLIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;
    TStringList *Strings() const { return FStrings.get(); }

private:
    std::unique_ptr<TStringList> FStrings = std::make_unique<TStringList>();
};

class TGridPicIO : public TStreamedComponent
{
public:
    explicit TGridPicIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;
    TPicture *Picture() const { return FPicture.get(); }

private:
    std::unique_ptr<TPicture> FPicture = std::make_unique<TPicture>();
};

class TGridFilePicIO : public TStreamedComponent
{
public:
    explicit TGridFilePicIO(TComponent *AOwner) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override;
    bool ReadProperty(const QString &Name, TPropertyReader &R) override;
    TFilePicture *Picture() const { return FPicture.get(); }

private:
    std::unique_ptr<TFilePicture> FPicture = std::make_unique<TFilePicture>();
};

// Makes the holder classes known to the component reader; safe to call more than once.
void RegisterGridHolderClasses();
