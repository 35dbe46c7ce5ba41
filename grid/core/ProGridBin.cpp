// The binary cell stream: holder components and the grid's writer and reader.
#include "grid/core/ProGridBin.h"
#include "grid/core/ProGrid.h"
#include "grid/core/ProGridText.h"

#include "framework/graphics/Jpeg.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Streams.h"

#include <array>

namespace
{
const char *const kAlignment[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char *const kBrushStyle[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                   "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
const char *const kEditor[] = {
    "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
    "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat",
    "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit",
    "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone",
    "edDateTimeEdit", "edValidChars", "edTrackbarDropDown", "edMemoDropDown", "edCalculatorDropDown",
    "edTimePickerDropDown", "edDetailDropDown", "edGridDropDown", "edColorPickerDropDown",
    "edImagePickerDropDown", "edProGridDropDown", "edPositiveFloat", "edNumericUnitEditBtn",
    "edFloatUnitEditBtn"};
const char *const kGradient[] = {"GradientVertical", "GradientHorizontal"};
const char *const kVAlignment[] = {"vtaTop", "vtaCenter", "vtaBottom"};
const char *const kFontStyle[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const char *const kCellType[] = {
    "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
    "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress", "ctComment",
    "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary",
    "ctRangeIndicator", "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape",
    "ctRating", "ctTriStateCheckBox", "ctExpand"};
const char *const kCellVAlign[] = {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
const char *const kCellHAlign[] = {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
const char *const kCheckState[] = {"cbUnchecked", "cbChecked", "cbGrayed"};

template <size_t N>
QString IdentOf(const char *const (&names)[N], int v)
{
    return v >= 0 && size_t(v) < N ? QLatin1String(names[v]) : QString::number(v);
}

template <typename E, size_t N>
E ReadEnum(TPropertyReader &R, const char *const (&names)[N])
{
    const QString id = R.ReadIdent();
    for (size_t i = 0; i < N; ++i)
        if (id == QLatin1String(names[i]))
            return E(i);
    throw EReadError(QStringLiteral("Invalid property value"));
}

// A named colour goes as its name, any other as a number.
void WriteColor(TPropertyWriter &W, const QString &Name, TColor c)
{
    const QString s = ColorToString(c);
    if (s.startsWith(QLatin1String("cl")))
        W.WriteIdent(Name, s);
    else
        W.WriteInteger(Name, int32_t(c));
}

TColor ReadColor(TPropertyReader &R)
{
    if (R.NextValue() == TValueType::vaIdent) {
        try {
            return StringToColor(R.ReadIdent());
        } catch (const EConvertError &) {
            throw EReadError(QStringLiteral("Invalid property value"));
        }
    }
    return TColor(R.ReadInteger());
}

QByteArray WithSize(const QByteArray &data)
{
    QByteArray out(4, Qt::Uninitialized);
    const uint32_t n = uint32_t(data.size());
    for (int i = 0; i < 4; ++i)
        out[i] = char(n >> (8 * i));
    return out + data;
}

// The data after a 4-byte size; a size beyond the data is a broken stream.
QByteArray WithoutSize(const QByteArray &data)
{
    if (data.size() < 4)
        throw EReadError(QStringLiteral("Stream read error"));
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= uint32_t(uint8_t(data[i])) << (8 * i);
    if (n > uint32_t(data.size() - 4))
        throw EReadError(QStringLiteral("Stream read error"));
    return data.mid(4, n);
}

void LoadGraphic(TGraphic *g, const QByteArray &data)
{
    try {
        g->LoadFromData(data);
    } catch (const EReadError &) {
        throw;
    } catch (const Exception &e) {
        throw EReadError(e.Message());
    }
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Holders

void TGridPropIO::WriteProperties(TPropertyWriter &W)
{
    W.WriteInteger(QStringLiteral("ColCount"), ColCount);
    W.WriteInteger(QStringLiteral("RowCount"), RowCount);
    W.WriteString(QStringLiteral("ColWidths"), ColWidths);
    W.WriteString(QStringLiteral("RowHeights"), RowHeights);
    W.WriteBoolean(QStringLiteral("FullGrid"), FullGrid);
    W.WriteInteger(QStringLiteral("ID"), ID);
}

bool TGridPropIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name == QLatin1String("ColCount"))
        ColCount = R.ReadInteger();
    else if (Name == QLatin1String("RowCount"))
        RowCount = R.ReadInteger();
    else if (Name == QLatin1String("ColWidths"))
        ColWidths = R.ReadString();
    else if (Name == QLatin1String("RowHeights"))
        RowHeights = R.ReadString();
    else if (Name == QLatin1String("FullGrid"))
        FullGrid = R.ReadBoolean();
    else if (Name == QLatin1String("ID"))
        ID = R.ReadInteger();
    else
        return false;
    return true;
}

void TGridCellIO::WriteProperties(TPropertyWriter &W)
{
    W.WriteInteger(QStringLiteral("Col"), Col);
    W.WriteInteger(QStringLiteral("Row"), Row);
    W.WriteString(QStringLiteral("Cell"), Cell);
    W.WriteBoolean(QStringLiteral("HasProp"), HasProp);
}

bool TGridCellIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name == QLatin1String("Col"))
        Col = R.ReadInteger();
    else if (Name == QLatin1String("Row"))
        Row = R.ReadInteger();
    else if (Name == QLatin1String("Cell"))
        Cell = R.ReadString();
    else if (Name == QLatin1String("HasProp"))
        HasProp = R.ReadBoolean();
    else
        return false;
    return true;
}

TGridCellPropIO::TGridCellPropIO(TComponent *AOwner)
    : TStreamedComponent(AOwner), FCellProperties(std::make_unique<TCellProperties>(dynamic_cast<TBaseGrid *>(AOwner), 0, 0))
{
}

void TGridCellPropIO::WriteProperties(TPropertyWriter &W)
{
    const TCellProperties *p = FCellProperties.get();
    const QString s = QStringLiteral("CellProperties.");
    W.WriteBoolean(s + "IsBaseCell", p->IsBaseCell());
    W.WriteInteger(s + "CellSpanX", p->CellSpanX());
    W.WriteInteger(s + "CellSpanY", p->CellSpanY());
    W.WriteIdent(s + "Alignment", IdentOf(kAlignment, p->Alignment()));
    WriteColor(W, s + "BorderColor", p->BorderColor());
    W.WriteInteger(s + "BorderWidth", p->BorderWidth());
    WriteColor(W, s + "BrushColor", p->BrushColor());
    WriteColor(W, s + "BrushColorTo", p->BrushColorTo());
    W.WriteIdent(s + "BrushStyle", IdentOf(kBrushStyle, p->BrushStyle()));
    // The cell's user object is an address: it means nothing in another grid or a file.
    WriteColor(W, s + "FontColor", p->FontColor());
    W.WriteString(s + "FontName", p->FontName());
    W.WriteInteger(s + "FontSize", p->FontSize());
    QStringList style;
    for (int i = 0; i < 4; ++i)
        if (p->FontStyle().Contains(TFontStyle(i)))
            style << QLatin1String(kFontStyle[i]);
    W.WriteSet(s + "FontStyle", style);
    W.WriteIdent(s + "Editor", IdentOf(kEditor, p->Editor()));
    W.WriteIdent(s + "GradientDirection", IdentOf(kGradient, p->GradientDirection()));
    W.WriteBoolean(s + "ReadOnly", p->ReadOnly());
    W.WriteIdent(s + "VAlignment", IdentOf(kVAlignment, p->VAlignment()));
    W.WriteBoolean(s + "WordWrap", p->WordWrap());
    W.WriteInteger(s + "NodeLevel", p->NodeLevel());
    if (p->Control() && !p->Control()->Name().isEmpty())
        W.WriteIdent(s + "Control", p->Control()->Name());
    W.WriteBoolean(QStringLiteral("HasGraphic"), HasGraphic);
}

bool TGridCellPropIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    TCellProperties *p = FCellProperties.get();
    if (Name == QLatin1String("HasGraphic")) {
        HasGraphic = R.ReadBoolean();
        return true;
    }
    if (!Name.startsWith(QLatin1String("CellProperties.")))
        return false;
    const QString n = Name.mid(15);
    if (n == QLatin1String("IsBaseCell"))
        p->SetIsBaseCell(R.ReadBoolean());
    else if (n == QLatin1String("CellSpanX"))
        p->SetCellSpanX(R.ReadInteger());
    else if (n == QLatin1String("CellSpanY"))
        p->SetCellSpanY(R.ReadInteger());
    else if (n == QLatin1String("Alignment"))
        p->SetAlignment(ReadEnum<TAlignment>(R, kAlignment));
    else if (n == QLatin1String("BorderColor"))
        p->SetBorderColor(ReadColor(R));
    else if (n == QLatin1String("BorderWidth"))
        p->SetBorderWidth(R.ReadInteger());
    else if (n == QLatin1String("BrushColor"))
        p->SetBrushColor(ReadColor(R));
    else if (n == QLatin1String("BrushColorTo"))
        p->SetBrushColorTo(ReadColor(R));
    else if (n == QLatin1String("BrushStyle"))
        p->SetBrushStyle(ReadEnum<TBrushStyle>(R, kBrushStyle));
    else if (n == QLatin1String("CellObject"))
        R.ReadInteger(); // an address from another process: never used
    else if (n == QLatin1String("FontColor"))
        p->SetFontColor(ReadColor(R));
    else if (n == QLatin1String("FontName"))
        p->SetFontName(R.ReadString());
    else if (n == QLatin1String("FontSize"))
        p->SetFontSize(R.ReadInteger());
    else if (n == QLatin1String("FontStyle")) {
        TFontStyles st;
        for (const QString &m : R.ReadSet())
            for (int i = 0; i < 4; ++i)
                if (m == QLatin1String(kFontStyle[i]))
                    st.Include(TFontStyle(i));
        p->SetFontStyle(st);
    } else if (n == QLatin1String("Editor"))
        p->SetEditor(ReadEnum<TEditorType>(R, kEditor));
    else if (n == QLatin1String("GradientDirection"))
        p->SetGradientDirection(ReadEnum<TCellGradientDirection>(R, kGradient));
    else if (n == QLatin1String("ReadOnly"))
        p->SetReadOnly(R.ReadBoolean());
    else if (n == QLatin1String("VAlignment"))
        p->SetVAlignment(ReadEnum<TVAlignment>(R, kVAlignment));
    else if (n == QLatin1String("WordWrap"))
        p->SetWordWrap(R.ReadBoolean());
    else if (n == QLatin1String("NodeLevel"))
        p->SetNodeLevel(R.ReadInteger());
    else if (n == QLatin1String("Control")) {
        // A control of another form cannot be found: only one named among the grid's owner's
        // components is taken.
        const QString name = R.ReadIdent();
        TComponent *grid = Owner();
        TComponent *form = grid ? grid->Owner() : nullptr;
        p->SetControl(form ? dynamic_cast<TControl *>(form->FindComponent(name)) : nullptr);
    } else
        return false;
    return true;
}

void TGridGraphicIO::WriteProperties(TPropertyWriter &W)
{
    const TCellGraphic *g = FCellGraphic.get();
    const QString s = QStringLiteral("CellGraphic.");
    W.WriteIdent(s + "CellType", IdentOf(kCellType, g->CellType()));
    W.WriteIdent(s + "CellVAlign", IdentOf(kCellVAlign, g->CellVAlign()));
    W.WriteIdent(s + "CellHAlign", IdentOf(kCellHAlign, g->CellHAlign()));
    W.WriteInteger(s + "CellIndex", g->CellIndex());
    W.WriteBoolean(s + "CellTransparent", g->CellTransparent());
    W.WriteBoolean(s + "CellCreated", g->CellCreated());
    W.WriteBoolean(s + "CellBoolean", g->CellBoolean());
    W.WriteIdent(s + "CellCheckBoxState", IdentOf(kCheckState, g->CellCheckBoxState()));
    W.WriteInteger(s + "CellAngle", g->CellAngle());
    W.WriteFloat(s + "CellValue", g->CellValue());
    W.WriteInteger(s + "CellErrFrom", g->CellErrFrom());
    W.WriteInteger(s + "CellErrLen", g->CellErrLen());
    W.WriteString(s + "CellText", g->CellText());
}

bool TGridGraphicIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (!Name.startsWith(QLatin1String("CellGraphic.")))
        return false;
    TCellGraphic *g = FCellGraphic.get();
    const QString n = Name.mid(12);
    if (n == QLatin1String("CellType"))
        g->SetCellType(ReadEnum<TCellType>(R, kCellType));
    else if (n == QLatin1String("CellVAlign"))
        g->SetCellVAlign(ReadEnum<TCellVAlign>(R, kCellVAlign));
    else if (n == QLatin1String("CellHAlign"))
        g->SetCellHAlign(ReadEnum<TCellHAlign>(R, kCellHAlign));
    else if (n == QLatin1String("CellIndex"))
        g->SetCellIndex(R.ReadInteger());
    else if (n == QLatin1String("CellTransparent"))
        g->SetCellTransparent(R.ReadBoolean());
    else if (n == QLatin1String("CellCreated"))
        g->SetCellCreated(R.ReadBoolean());
    else if (n == QLatin1String("CellBoolean"))
        g->SetCellBoolean(R.ReadBoolean());
    else if (n == QLatin1String("CellCheckBoxState"))
        g->SetCellCheckBoxState(ReadEnum<TCheckBoxState>(R, kCheckState));
    else if (n == QLatin1String("CellAngle"))
        g->SetCellAngle(R.ReadInteger());
    else if (n == QLatin1String("CellValue"))
        g->SetCellValue(R.ReadFloat());
    else if (n == QLatin1String("CellErrFrom"))
        g->SetCellErrFrom(R.ReadInteger());
    else if (n == QLatin1String("CellErrLen"))
        g->SetCellErrLen(R.ReadInteger());
    else if (n == QLatin1String("CellText"))
        g->SetCellText(R.ReadString());
    else
        return false;
    return true;
}

void TGridBMPIO::WriteProperties(TPropertyWriter &W)
{
    if (!FBitmap->Empty())
        W.WriteBinary(QStringLiteral("Bitmap.Data"), WithSize(FBitmap->SaveToData()));
}

bool TGridBMPIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name != QLatin1String("Bitmap.Data"))
        return false;
    LoadGraphic(FBitmap.get(), WithoutSize(R.ReadBinary()));
    return true;
}

void TGridIconIO::WriteProperties(TPropertyWriter &W)
{
    if (!FIcon->Empty())
        W.WriteBinary(QStringLiteral("Icon.Data"), FIcon->SaveToData());
}

bool TGridIconIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name != QLatin1String("Icon.Data"))
        return false;
    LoadGraphic(FIcon.get(), R.ReadBinary());
    return true;
}

void TGridSLIO::WriteProperties(TPropertyWriter &W)
{
    W.WriteStringList(QStringLiteral("Strings.Strings"), FStrings->ToStringList());
}

bool TGridSLIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name != QLatin1String("Strings.Strings"))
        return false;
    FStrings->Clear();
    for (const QString &s : R.ReadStringList())
        FStrings->Add(s);
    return true;
}

void TGridPicIO::WriteProperties(TPropertyWriter &W)
{
    TGraphic *g = FPicture->Graphic();
    if (!g || g->Empty())
        return;
    const QByteArray cls = g->ClassName().toUtf8();
    QByteArray data;
    data += char(cls.size());
    data += cls;
    // A bitmap's data carries its size, as in the bitmap holder; other graphics run to the end.
    data += dynamic_cast<TBitmap *>(g) ? WithSize(g->SaveToData()) : g->SaveToData();
    W.WriteBinary(QStringLiteral("Picture.Data"), data);
}

bool TGridPicIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name != QLatin1String("Picture.Data"))
        return false;
    const QByteArray data = R.ReadBinary();
    const int n = data.isEmpty() ? 0 : uint8_t(data[0]);
    if (data.size() < 1 + n)
        throw EReadError(QStringLiteral("Stream read error"));
    const QString cls = QString::fromUtf8(data.mid(1, n));
    const QByteArray rest = data.mid(1 + n);
    std::unique_ptr<TGraphic> g;
    if (cls == QLatin1String("TBitmap"))
        g = std::make_unique<TBitmap>();
    else if (cls == QLatin1String("TIcon"))
        g = std::make_unique<TIcon>();
    else if (cls == QLatin1String("TJPEGImage"))
        g = std::make_unique<TJPEGImage>();
    else
        throw EReadError(QStringLiteral("Class %1 not found").arg(cls));
    LoadGraphic(g.get(), cls == QLatin1String("TBitmap") ? WithoutSize(rest) : rest);
    FPicture->SetGraphic(g.get());
    return true;
}

void TGridFilePicIO::WriteProperties(TPropertyWriter &W)
{
    W.WriteString(QStringLiteral("Picture.Filename"), FPicture->Filename());
}

bool TGridFilePicIO::ReadProperty(const QString &Name, TPropertyReader &R)
{
    if (Name != QLatin1String("Picture.Filename"))
        return false;
    const QString file = R.ReadString();
    // A picture file that has gone leaves the cell without its picture; the load goes on.
    try {
        FPicture->SetFilename(file);
    } catch (const Exception &) {
    }
    return true;
}

void RegisterGridHolderClasses()
{
    static const bool done = [] {
        RegisterComponentClass(QStringLiteral("TGridPropIO"), [](TComponent *o) { return new TGridPropIO(o); });
        RegisterComponentClass(QStringLiteral("TGridCellIO"), [](TComponent *o) { return new TGridCellIO(o); });
        RegisterComponentClass(QStringLiteral("TGridCellPropIO"), [](TComponent *o) { return new TGridCellPropIO(o); });
        RegisterComponentClass(QStringLiteral("TGridGraphicIO"), [](TComponent *o) { return new TGridGraphicIO(o); });
        RegisterComponentClass(QStringLiteral("TGridBMPIO"), [](TComponent *o) { return new TGridBMPIO(o); });
        RegisterComponentClass(QStringLiteral("TGridIconIO"), [](TComponent *o) { return new TGridIconIO(o); });
        RegisterComponentClass(QStringLiteral("TGridSLIO"), [](TComponent *o) { return new TGridSLIO(o); });
        RegisterComponentClass(QStringLiteral("TGridPicIO"), [](TComponent *o) { return new TGridPicIO(o); });
        RegisterComponentClass(QStringLiteral("TGridFilePicIO"), [](TComponent *o) { return new TGridFilePicIO(o); });
        return true;
    }();
    (void)done;
}

// ---------------------------------------------------------------------------------------------
// The grid's writer and reader

namespace
{
// The least a cell image takes: frame, class name, Col, Row and HasProp.
constexpr int64_t kMinCellImage = 40;

bool GraphicObjectOwned(TCellType t)
{
    switch (t) {
    case ctBitmap:
    case ctIcon:
    case ctRadio:
    case ctImages:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        return true;
    default:
        return false;
    }
}

QString JoinSizes(int from, int to, const std::function<int(int)> &size)
{
    QStringList parts;
    for (int i = from; i <= to; ++i)
        parts << QString::number(size(i));
    return parts.join(QChar(','));
}

std::vector<int> SplitSizes(const QString &s)
{
    std::vector<int> out;
    if (s.isEmpty())
        return out;
    for (const QString &p : s.split(QChar(','))) {
        bool ok = false;
        const int v = p.trimmed().toInt(&ok);
        out.push_back(ok ? v : -1);
    }
    return out;
}
} // namespace

void TProStringGrid::SaveRectToBinStream(const TRect &Rect, TStream *Stream)
{
    RegisterGridHolderClasses();
    TGridPropIO prop(nullptr);
    prop.RowCount = Rect.Bottom - Rect.Top + 1;
    prop.ColCount = Rect.Right - Rect.Left + 1;
    if (FSaveFixedCells)
        prop.FullGrid = prop.RowCount == RowCount() && prop.ColCount == ColCount();
    else
        prop.FullGrid = prop.RowCount == RowCount() - FixedRows() && prop.ColCount == ColCount() - FixedCols();
    prop.ID = int32_t(HandleAllocated() ? Handle() : 0);
    prop.ColWidths = JoinSizes(Rect.Left, Rect.Right, [this](int c) { return c < ColCount() ? ColWidths(c) : DefaultColWidth(); });
    prop.RowHeights = JoinSizes(Rect.Top, Rect.Bottom, [this](int r) { return r < RowCount() ? RowHeights(r) : DefaultRowHeight(); });
    WriteComponentImage(Stream, &prop);

    TProgressReporter progress(this, OnFileProgress);
    ExportNotification(esExportStart, Rect.Top);
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            TGridCellIO cell(nullptr);
            cell.Col = c;
            cell.Row = r;
            cell.Cell = GetCellEx(c, r);
            cell.HasProp = HasCellProperties(c, r);
            WriteComponentImage(Stream, &cell);
            if (!cell.HasProp)
                continue;
            TCellProperties *props = GetCellProperties(c, r);
            TGridCellPropIO propIO(this);
            propIO.CellProperties()->Assign(props);
            propIO.CellProperties()->SetBrushColorTo(props->BrushColorTo());
            propIO.CellProperties()->SetGradientDirection(props->GradientDirection());
            auto *g = dynamic_cast<TCellGraphic *>(props->GraphicObject());
            if (!g || g->CellType() == ctEmpty)
                propIO.HasGraphic = false;
            else if (GraphicObjectOwned(g->CellType()))
                propIO.HasGraphic = g->CellCreated();
            else
                propIO.HasGraphic = true;
            WriteComponentImage(Stream, &propIO);
            if (!propIO.HasGraphic)
                continue;
            TGridGraphicIO graphicIO(nullptr);
            graphicIO.CellGraphic()->Assign(g);
            // Copying a graphic leaves its tri-state out; the stream carries it.
            graphicIO.CellGraphic()->SetCellCheckBoxState(g->CellCheckBoxState());
            WriteComponentImage(Stream, &graphicIO);
            switch (g->CellType()) {
            case ctBitmap:
            case ctBitButton: {
                TGridBMPIO io(nullptr);
                if (g->CellBitmap())
                    io.Bitmap()->Assign(g->CellBitmap());
                WriteComponentImage(Stream, &io);
                break;
            }
            case ctIcon: {
                TGridIconIO io(nullptr);
                if (g->CellIcon())
                    io.Icon()->Assign(g->CellIcon());
                WriteComponentImage(Stream, &io);
                break;
            }
            case ctRadio: {
                TGridSLIO io(nullptr);
                if (g->CellStrings())
                    io.Strings()->Assign(g->CellStrings());
                WriteComponentImage(Stream, &io);
                break;
            }
            case ctImages: {
                TGridSLIO io(nullptr);
                if (g->CellIntList())
                    io.Strings()->Add(g->CellIntList()->StrValue());
                WriteComponentImage(Stream, &io);
                break;
            }
            case ctPicture: {
                TGridPicIO io(nullptr);
                if (g->CellPicture())
                    io.Picture()->Assign(g->CellPicture());
                WriteComponentImage(Stream, &io);
                break;
            }
            case ctFilePicture: {
                TGridFilePicIO io(nullptr);
                if (g->CellFilePicture())
                    io.Picture()->Assign(g->CellFilePicture());
                WriteComponentImage(Stream, &io);
                break;
            }
            default:
                break;
            }
        }
        progress.Report(r - Rect.Top, std::max(1, Rect.Bottom - Rect.Top));
    }
    ExportNotification(esExportDone, -1);
}

void TProStringGrid::SaveToBinStream(TStream *Stream)
{
    SaveRectToBinStream(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), Stream);
}

void TProStringGrid::LoadAtPointFromBinStream(const TPoint &Point, TStream *Stream)
{
    RegisterGridHolderClasses();
    TGridPropIO prop(nullptr);
    ReadComponentImage(Stream, &prop);
    // Every cell of the rectangle has an image: a header stating more cells than the stream could
    // hold is refused before the grid grows.
    const int64_t left = Stream->Size() - Stream->Position();
    if (prop.ColCount < 0 || prop.RowCount < 0 || int64_t(prop.ColCount) * prop.RowCount * kMinCellImage > left)
        throw EReadError(QStringLiteral("Invalid stream format"));

    TGridUpdateLock update(this);
    if (prop.FullGrid) {
        Clear();
        SetRowCount(prop.RowCount);
        SetColCount(prop.ColCount);
        const std::vector<int> widths = SplitSizes(prop.ColWidths);
        for (int c = 0; c < int(widths.size()) && c < ColCount(); ++c)
            if (widths[size_t(c)] >= 0)
                SetColWidths(c, widths[size_t(c)]);
        const std::vector<int> heights = SplitSizes(prop.RowHeights);
        for (int r = 0; r < int(heights.size()) && r < RowCount(); ++r)
            if (heights[size_t(r)] >= 0)
                SetRowHeights(r, heights[size_t(r)]);
    }

    TProgressReporter progress(this, OnFileProgress);
    bool first = true;
    int ox = 0, oy = 0, lastRow = -1;
    while (Stream->Size() - Stream->Position() >= 2) {
        TGridCellIO cell(nullptr);
        ReadComponentImage(Stream, &cell);
        if (first && !prop.FullGrid) {
            ox = cell.Col;
            oy = cell.Row;
        }
        first = false;
        const int rc = cell.Col - ox, rr = cell.Row - oy;
        // A partial rectangle keeps to the size its header states. A whole grid saved without its
        // fixed cells states the normal cells only but keeps absolute positions: it may reach as
        // far beyond its counts as the grid has fixed rows and columns.
        const int growCols = prop.FullGrid ? FixedCols() : 0, growRows = prop.FullGrid ? FixedRows() : 0;
        bool inside = rc >= 0 && rr >= 0 && rc < prop.ColCount + growCols && rr < prop.RowCount + growRows;
        const int tc = rc + Point.X, tr = rr + Point.Y;
        if (inside && prop.FullGrid) {
            if (tc >= ColCount())
                SetColCount(tc + 1);
            if (tr >= RowCount())
                SetRowCount(tr + 1);
        }
        inside = inside && tc < ColCount() + FNumHidden && tr < RowCount();
        if (inside) {
            SetCellEx(tc, tr, cell.Cell);
            if (tr != lastRow) {
                lastRow = tr;
                progress.Report(tr, std::max(1, RowCount()));
            }
        }
        if (!cell.HasProp)
            continue;

        TGridCellPropIO propIO(this);
        if (inside)
            propIO.CellProperties()->Assign(GetCellProperties(tc, tr));
        ReadComponentImage(Stream, &propIO);
        if (inside) {
            TCellProperties *target = GetCellProperties(tc, tr);
            TCellProperties *read = propIO.CellProperties();
            read->SetOwnerCol(tc);
            read->SetOwnerRow(tr);
            // A user object belongs to the grid that set it, never to cells loaded from elsewhere.
            read->SetCellObject(nullptr);
            target->Assign(read);
            target->SetBrushColorTo(read->BrushColorTo());
            target->SetGradientDirection(read->GradientDirection());
        }
        if (!propIO.HasGraphic)
            continue;
        TGridGraphicIO graphicIO(nullptr);
        ReadComponentImage(Stream, &graphicIO);
        TCellGraphic *g = nullptr;
        if (inside) {
            g = CreateCellGraphic(tc, tr);
            g->Assign(graphicIO.CellGraphic());
            g->SetCellCheckBoxState(graphicIO.CellGraphic()->CellCheckBoxState());
        }
        switch (graphicIO.CellGraphic()->CellType()) {
        case ctBitmap:
        case ctBitButton: {
            TGridBMPIO io(nullptr);
            ReadComponentImage(Stream, &io);
            if (g) {
                auto *b = new TBitmap();
                b->Assign(io.Bitmap());
                g->SetCellBitmapObject(b);
                g->SetCellCreated(true);
            }
            break;
        }
        case ctIcon: {
            TGridIconIO io(nullptr);
            ReadComponentImage(Stream, &io);
            if (g) {
                auto *i = new TIcon();
                i->Assign(io.Icon());
                g->SetCellIcon(i);
                g->SetCellCreated(true);
            }
            break;
        }
        case ctRadio: {
            TGridSLIO io(nullptr);
            ReadComponentImage(Stream, &io);
            if (g) {
                auto *l = new TStringList();
                l->Assign(io.Strings());
                g->SetCellBitmapObject(l);
                g->SetCellCreated(true);
            }
            break;
        }
        case ctImages: {
            TGridSLIO io(nullptr);
            ReadComponentImage(Stream, &io);
            if (g) {
                auto *l = new TIntList(tc, tr);
                if (io.Strings()->Count() > 0)
                    l->SetStrValue(io.Strings()->Strings(0));
                g->SetCellBitmapObject(l);
                g->SetCellCreated(true);
            }
            break;
        }
        case ctPicture: {
            TGridPicIO io(nullptr);
            ReadComponentImage(Stream, &io);
            if (g) {
                auto *p = new TPicture();
                p->Assign(io.Picture());
                g->SetCellBitmapObject(p);
                g->SetCellCreated(true);
            }
            break;
        }
        case ctFilePicture: {
            TGridFilePicIO io(nullptr);
            ReadComponentImage(Stream, &io);
            if (g) {
                auto *p = new TFilePicture();
                p->Assign(io.Picture());
                g->SetCellBitmapObject(p);
                g->SetCellCreated(true);
            }
            break;
        }
        default:
            break;
        }
    }
    update.Release();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
}

void TProStringGrid::LoadFromBinStream(TStream *Stream)
{
    LoadAtPointFromBinStream(TPoint(0, 0), Stream);
    FNumNodes = 0;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (const TCellGraphic *g = GetCellGraphic(0, r); g && g->CellType() == ctNode)
            ++FNumNodes;
    if (FNumNodes > 0)
        RepaintCol(0);
}

void TProStringGrid::SaveToBinFile(const QString &FileName)
{
    TMemoryStream ms;
    SaveToBinStream(&ms);
    ms.SaveToFile(FileName);
}

void TProStringGrid::LoadFromBinFile(const QString &FileName)
{
    TMemoryStream ms;
    ms.LoadFromFile(FileName);
    ms.SetPosition(0);
    LoadFromBinStream(&ms);
}
