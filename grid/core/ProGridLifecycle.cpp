// Construction, destruction, window creation, loading and copying of the grid, and the grid
// unit's shared state.
#include "grid/core/ProGrid.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Layered.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/Themes.h"
#include "framework/os/Clipbrd.h"
#include "framework/rtl/Streams.h"
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QObject>
#include <algorithm>

// ---- Unit state ----------------------------------------------------------------------------------

uint16_t CF_GRIDCELLS = 0;
uint16_t WM_GRIDEDITDONE = 0;
uint16_t WM_DTPSHIFTFOCUS = 0;
bool ComCtrlOk = false;
TProStringGrid *FocusWindowGrid = nullptr;

namespace {

int GridUnitInitCount = 0;

// Stands in for the thread's window-procedure hook: while windows move or change size, the
// focus window of the grid that shows one stays on that grid's current cell.
class TWindowPosHook : public QObject
{
public:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (FocusWindowGrid && Watched->isWidgetType() &&
            (Event->type() == QEvent::Move || Event->type() == QEvent::Resize))
            FollowCurrentCell(FocusWindowGrid);
        return false;
    }
    static void FollowCurrentCell(TProStringGrid *Grid)
    {
        TGridFocusWindow *fw = Grid->FocusWindow();
        if (!fw || fw->Widget() == nullptr)
            return;
        const TRect r = Grid->CellRect(Grid->Col(), Grid->Row());
        const TPoint tl = Grid->ClientToScreen(TPoint(r.Left, r.Top));
        const TPoint br = Grid->ClientToScreen(TPoint(r.Right, r.Bottom));
        fw->SetBounds(tl.X - 4, tl.Y - 4, br.X - tl.X + 9, br.Y - tl.Y + 9);
    }
};

TWindowPosHook *WindowPosHook = nullptr;

} // namespace

void InitializeGridUnit()
{
    if (GridUnitInitCount++ > 0)
        return;
    FocusWindowGrid = nullptr;
    if (!WindowPosHook && QCoreApplication::instance()) {
        WindowPosHook = new TWindowPosHook;
        QCoreApplication::instance()->installEventFilter(WindowPosHook);
    }
    ComCtrlOk = GetDllVersion(QStringLiteral("comctl32.dll")) > 262213;
    CF_GRIDCELLS = uint16_t(RegisterClipboardFormat(QStringLiteral("TProStringGrid Cells")));
    WM_GRIDEDITDONE = uint16_t(RegisterWindowMessage(QStringLiteral("GridEditDone")));
    WM_DTPSHIFTFOCUS = uint16_t(RegisterWindowMessage(QStringLiteral("DTPShiftFocus")));
}

void FinalizeGridUnit()
{
    if (GridUnitInitCount == 0 || --GridUnitInitCount > 0)
        return;
    delete WindowPosHook;
    WindowPosHook = nullptr;
    FocusWindowGrid = nullptr;
}

QChar GridTimeSeparator() { return FormatSettings.TimeSeparator; }
QChar GridDateSeparator() { return FormatSettings.DateSeparator; }
QChar GridThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar GridDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QString GridShortDateFormat() { return FormatSettings.ShortDateFormat; }
QString GridShortTimeFormat() { return FormatSettings.ShortTimeFormat; }
QString GridLongTimeFormat() { return FormatSettings.LongTimeFormat; }

void SetWindowExTransparent(HWND Wnd)
{
    AddWindowExStyle(Wnd, WS_EX_TRANSPARENT);
}

int GetDllVersion(const QString &FileName)
{
    // The common controls are the only module with a version here.
    if (QFileInfo(FileName).fileName().compare(QStringLiteral("comctl32.dll"), Qt::CaseInsensitive) == 0)
        return int(CommonControlsVersion());
    return -1;
}

// ---- Construction --------------------------------------------------------------------------------

void TProStringGrid::CreateOwnedObjects()
{
    InitializeGridUnit();
    const bool designing = ComponentState().Contains(csDesigning);
    SetDrawingStyle(gdsClassic);
    TControlStyle cs = ControlStyle();
    cs.Include(csAcceptsControls);
    SetControlStyle(cs);

    FFooterPanel = new TFooterPanel(this);
    FFooterPanel->SetAlign(alBottom);
    FFooterPanel->SetHeight(0);
    FFooterPanel->SetBorderWidth(0);
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetAlign(alBottom);
    FSearchPanel->SetHeight(0);
    FSearchPanel->SetBorderWidth(0);
    WireSearchPanel();
    cf = std::make_unique<TFont>();
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    FControlLook = std::make_unique<TControlLook>(this);
    FGrouping = std::make_unique<TGrouping>();
    FColumnHeaders = std::make_unique<TStringList>();
    FColumnHeaders->OnChange = [this](TObject *) {
        ColumnHeadersChanged();
        ShowColumnHeaders();
    };
    FOrigColSizes = std::make_unique<TIntList>(-1, -1);
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->SetName(QStringLiteral("Tahoma"));
    FFixedFont->SetStyle(TFontStyles{fsBold});
    FFixedFont->OnChange = [this](TObject *) { Invalidate(); };
    FActiveCellFont = std::make_unique<TFont>();
    FActiveCellFont->SetStyle(TFontStyles{fsBold});
    if (designing)
        FActiveCellFont->SetName(QStringLiteral("Tahoma"));
    FActiveCellFont->OnChange = [this](TObject *) { Invalidate(); };
    FRowHeaders = std::make_unique<TStringList>();
    FRowHeaders->OnChange = [this](TObject *) { ShowRowHeaders(); };
    Sortlist = std::make_unique<TStringList>();
    FLookupItems = std::make_unique<TStringList>();
    FSortIndexes = std::make_unique<TSortIndexList>();
    FSortRowXRef = std::make_unique<TIntList>(0, 0);
    FUnSortRowXRef = std::make_unique<TIntList>(0, 0);
    FMergedColumns = std::make_unique<TIntList>(0, 0);
    FMergedColumns->OnChange = [this](TObject *, int, int) { Invalidate(); };
    FSelectedCells = std::make_unique<TIntList>(0, 0);
    FBackGround = std::make_unique<TBackGround>(this);
    FScrollHintWnd = new THTMLHintWindow(this);
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this](TObject *) { Invalidate(); };

    FFilter = std::make_unique<TFilter>(this);
    FBalloonSettings = std::make_unique<TBalloonSettings>();
    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FCellGraphic = std::make_unique<TCellGraphic>();
    FIgnoreColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    FFilterDropDown->OnChange = [this](TObject *) { Invalidate(); };
    FDropList = new TDropList(this);
    FDropList->SetParent(this);
    FDropList->SetBounds(0, 0, 0, 0);
    FDropList->SetVisible(false);
    FDropCheckList = new TDropCheckList(this);
    FDropCheckList->SetParent(this);
    FDropCheckList->SetBounds(0, 0, 0, 0);
    FDropCheckList->SetVisible(false);
    FDropList->OnSelect = [this](TObject *, int ItemIndex) { FilterDropDownSelect(ItemIndex); };
    FDropCheckList->OnSelect = [this](TObject *, int) { FilterCheckListApply(); };
    FFilterList = std::make_unique<TStringList>();
    FFilterList->SetDuplicates(dupIgnore);
    FFilterList->SetSorted(true);

    // Platform: a themed desktop of the newest kind with current common controls.
    const int major = Win32MajorVersion(), minor = Win32MinorVersion();
    FIsWinXP = major > 5 || (major == 5 && minor >= 1);
    FIsWin7 = major > 6 || (major == 6 && minor >= 1);
    FIsWinVista = major >= 6;
    FIsComCtl6 = (CommonControlsVersion() >> 16 & 0xFF) > 5;
    FDUZGradientTo = TColor(ColorToRGB(clBtnFace));
    FBorderColor = FIsWinXP ? TColor(0xB99D7F) : TColor(0x808080);
    SetScrollWidth(GetSystemMetrics(SM_CXVSCROLL));

    if (!designing) {
        FFocusWindow = new TGridFocusWindow(this);
        TArrowWindow **arrows[] = {&ArwU, &ArwD, &ArwL, &ArwR};
        for (int i = 0; i < 4; ++i) {
            *arrows[i] = new TArrowWindow(this);
            (*arrows[i])->Init(this, TArrowDirection(i));
        }
        FScrollBar = new TScrollBar(this);
        FScrollBar->OnScroll = [this](TObject *, TScrollCode Code, int &Pos) { CellScrollBarScroll(Code, Pos); };
        FPaintScrollBar = new TScrollBar(this);
    }
    InstallFormResize();
}

void TProStringGrid::InstallFormResize()
{
    auto *form = dynamic_cast<TCustomForm *>(Owner());
    if (!form || ComponentState().Contains(csDesigning))
        return;
    if (form->OnResize) {
        FOnResize = form->OnResize;
        ResizeAssigned = true;
    }
    FResizeForm = form;
    form->FreeNotification(this);
    PrevSizeX = form->Width();
    PrevSizeY = form->Height();
    form->OnResize = [this](TObject *Sender) { FormResize(Sender); };
}

void TProStringGrid::RemoveFormResize()
{
    // A form that is going away has dropped its handlers already.
    if (!FResizeForm || FResizeForm->ComponentState().Contains(csDestroying))
        return;
    FResizeForm->OnResize = ResizeAssigned ? FOnResize : TNotifyEvent();
    FResizeForm->RemoveFreeNotification(this);
    FResizeForm = nullptr;
}

// ---- Destruction ---------------------------------------------------------------------------------

void TProStringGrid::DestroyOwnedObjects()
{
    Destroying();
    const bool designing = ComponentState().Contains(csDesigning);
    if (!designing)
        RemoveFormResize();
    if (FocusWindowGrid == this)
        FocusWindowGrid = nullptr;

    FClearTextOnly = false;
    FSaveHiddenCells = false;
    // Contracted rows come back so that the cells below are freed with the rest.
    if (HasNodes())
        ExpandAll();
    UnHideColumnsAll();
    int rows = RowCount(), cols = ColCount();
    if (NumHiddenRows() == 0 && !HasNodes()) {
        rows = std::max(rows, FMaxRowCount);
        cols = std::max(cols, FMaxColCount);
    }
    if (rows > 0 && cols > 0 && FHasCellProps)
        ClearRect(0, 0, cols - 1, rows - 1);

    cf.reset();
    FFocusHelper.reset();
    FIgnoreColumns.reset();
    FProgressAppearance.reset();
    FFloatingFooter.reset();
    FCellGraphic.reset();
    FControlList.reset();
    FSortRowXRef.reset();
    FUnSortRowXRef.reset();
    FMergedColumns.reset();
    FSelectedCells.reset();
    FSelectedRows.reset();
    FModifiedRows.reset();
    FEnabledRows.reset();
    FPrintSettings.reset();
    FHTMLSettings.reset();
    FSortSettings.reset();
    FDragDropSettings.reset();
    FDragScrollOptions.reset();
    FControlLook.reset();
    FNavigation.reset();
    FColumnSize.reset();
    FColumnOrder.reset();
    FCellNode.reset();
    FBands.reset();
    FSizeWhileTyping.reset();
    FImageCache.reset();
    FMouseActions.reset();
    FColumnHeaders.reset();
    FGrouping.reset();
    FFixedFont.reset();
    FActiveCellFont.reset();
    FRowHeaders.reset();
    FLookupItems.reset();
    FSortIndexes.reset();
    FRowIndicator.reset();
    FBackGround.reset();
    delete FFooterPanel;
    FFooterPanel = nullptr;
    delete FSearchPanel;
    FSearchPanel = nullptr;
    FSearchFooter.reset();
    FBalloonSettings.reset();
    FShowModified.reset();
    FOrigColSizes.reset();
    FFilterDropDown.reset();
    delete FDropList;
    FDropList = nullptr;
    delete FDropCheckList;
    FDropCheckList = nullptr;
    FFilterList.reset();
    if (!designing) {
        for (TArrowWindow **a : {&ArwU, &ArwD, &ArwL, &ArwR}) {
            delete *a;
            *a = nullptr;
        }
    }
    Sortlist.reset();
    delete FScrollHintWnd;
    FScrollHintWnd = nullptr;
    FFilter.reset();
    if (Screen)
        Screen->SetCursor(FLoadedScreenCursor);
    if (!designing) {
        delete FFocusWindow;
        FFocusWindow = nullptr;
        delete FScrollBar;
        FScrollBar = nullptr;
        delete FPaintScrollBar;
        FPaintScrollBar = nullptr;
    }
}

// ---- Window creation and loading -----------------------------------------------------------------

void TProStringGrid::SetParent(TWinControl *AParent)
{
    TBaseGrid::SetParent(AParent);
    if (AParent && !FWndCreated && !IsDestroying())
        CreateWnd();
}

void TProStringGrid::CreateWnd()
{
    if (IsDestroying())
        return;
    HandleNeeded();
    if (!Parent())
        return;
    FWndCreated = true;
    const bool designing = ComponentState().Contains(csDesigning);
    if (!designing) {
        for (TScrollBar *sb : {FScrollBar, FPaintScrollBar}) {
            sb->SetParent(this);
            sb->SetVisible(false);
            sb->SetTabStop(false);
            sb->SetKind(sbVertical);
        }
    }
    FFooterPanel->SetParent(this);
    FFooterPanel->SetVisible(FFloatingFooter->Visible());
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
    SyncSearchPanel();
    SetTimer(Handle(), 111, 500);
    if (designing && ComponentState().Contains(csLoading))
        Font()->SetName(QStringLiteral("Tahoma"));
    FIsWinXP = FIsWinXP && IsThemeActive();
}

void TProStringGrid::Loaded()
{
    SetComponentStateItem(csLoading, false);
    FLoadedScreenCursor = Screen ? Screen->Cursor() : crDefault;
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FAutoSize)
        AutoSizeColumns(false, 4);
    FMinFixedRows = FixedRows();
    FMinFixedCols = FixedCols();
    FMinRowHeightLoaded = DefaultRowHeight();
    FMinColWidthLoaded = 10;
    FMaxRowCount = RowCount();
    FGridLoaded = true;
    if (Options().Contains(goAlwaysShowEditor)) {
        TGridOptions o = Options();
        o.Exclude(goAlwaysShowEditor);
        SetOptions(o);
        FNavigation->SetAlwaysEdit(true);
    }
    if (!FIsComCtl6 && FControlLook->ControlStyle() == csTheme && !ComponentState().Contains(csDesigning))
        FControlLook->SetControlStyle(csClassic);
    FSearchFooter->SetAutoThemeAdapt(AutoThemeAdapt());
    UpdateScrollBarAlways(false);
    FColumnOrder->Clear();
    FOrigColSizes->Clear();
    for (int c = 0; c < ColCount(); ++c) {
        FColumnOrder->Add(c);
        FOrigColSizes->Add(ColWidths(c));
    }
}

// ---- Copying -------------------------------------------------------------------------------------

void TProStringGrid::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TProStringGrid *>(Source);
    if (!src)
        return;
    Font()->Assign(src->Font());
    SetActiveCellColor(src->ActiveCellColor());
    SetActiveCellColorTo(src->ActiveCellColorTo());
    FActiveCellFont->Assign(src->FActiveCellFont.get());
    SetActiveCellShow(src->ActiveCellShow());
    SetActiveRowShow(src->ActiveRowShow());
    SetAlign(src->Align());
    FFilterDropDown->Assign(src->FFilterDropDown.get());
    SetAnchorHint(src->AnchorHint());
    SetAutoNumAlign(src->AutoNumAlign());
    FAutoSize = src->FAutoSize;
    SetAutoThemeAdapt(src->AutoThemeAdapt());
    SetAutoFilterUpdate(src->AutoFilterUpdate());
    FMouseActions->Assign(src->FMouseActions.get());
    FNavigation->Assign(src->FNavigation.get());
    FGrouping->Assign(src->FGrouping.get());
    FSearchFooter->Assign(src->FSearchFooter.get());
    FPrintSettings->Assign(src->FPrintSettings.get());
    FFilter->Assign(src->FFilter.get());
    FHTMLSettings->Assign(src->FHTMLSettings.get());
    FBands->Assign(src->FBands.get());
    FCellNode->Assign(src->FCellNode.get());
    FSortSettings->Assign(src->FSortSettings.get());
    FDragScrollOptions->Assign(src->FDragScrollOptions.get());
    FDragDropSettings->Assign(src->FDragDropSettings.get());
    FProgressAppearance->Assign(src->FProgressAppearance.get());
    FColumnSize->Assign(src->FColumnSize.get());
    FSyncGrid->Assign(src->FSyncGrid.get());
    FFocusHelper->Assign(src->FFocusHelper.get());
    SetFixedRowAlways(src->FixedRowAlways());
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->FixedRows());
    SetFixedCols(src->FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    SetFixedRowHeight(src->FixedRowHeight());
    SetFixedColWidth(src->FixedColWidth());
    SetInvalidEntryTitle(src->InvalidEntryTitle());
    SetInvalidEntryIcon(src->InvalidEntryIcon());
    SetInvalidEntryText(src->InvalidEntryText());
    SetOptions(src->Options());
    for (int c = 0; c < ColCount(); ++c)
        SetColWidths(c, src->ColWidths(c));
    FColumnHeaders->Assign(src->FColumnHeaders.get());
    for (int r = 0; r < RowCount(); ++r)
        SetRowHeights(r, src->RowHeights(r));
    SetScrollProportional(src->ScrollProportional());
    SetScrollSynch(src->ScrollSynch());
    SetScrollWidth(src->ScrollWidth());
    SetScrollHints(src->ScrollHints());
    FScrollBarAlways = src->FScrollBarAlways;
    SetScrollBars(src->ScrollBars());
    SetScrollColor(src->ScrollColor());
    SetScrollType(src->ScrollType());
    SetScrollWidth(src->ScrollWidth());
    AssignCells(Source);
}

void TProStringGrid::AssignCells(TPersistent *Source)
{
    auto *src = dynamic_cast<TProStringGrid *>(Source);
    if (!src)
        return;
    TMemoryStream ms;
    src->SaveToStream(&ms);
    ms.SetPosition(0);
    LoadFromStream(&ms);
}

// ---- Painting, sizes and scroll bars -------------------------------------------------------------

void TProStringGrid::Invalidate()
{
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!ComponentState().Contains(csLoading) && FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->Invalidate();
}

void TProStringGrid::Resize()
{
    TBaseGrid::Resize();
    if (OnGridResize)
        OnGridResize(this);
    if (FBackGround && (FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateScrollBarAlways(false);
    UpdateVScrollProportional();
    UpdateHScrollProportional();
    if (FControlList)
        CellControlsUpdate(false);
    if (ComponentState().Contains(csDesigning))
        Invalidate();
}

void TProStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const int sb = (VisibleColCount() + FixedCols() < ColCount()) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
        const int b = FBorderStyle == bsSingle ? 2 : 0;
        AHeight = AHeight - ((AHeight - sb - b) % DefaultRowHeight()) + b;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TProStringGrid::SetBorderColor(TColor v)
{
    if (v == FBorderColor)
        return;
    FBorderColor = v;
    // The border is drawn with the client area here.
    TBaseGrid::Invalidate();
}

void TProStringGrid::SetDUZGradientFrom(TColor v)
{
    FDUZGradientFrom = TColor(ColorToRGB(v));
    Invalidate();
}

void TProStringGrid::SetDUZGradientTo(TColor v)
{
    FDUZGradientTo = TColor(ColorToRGB(v));
    Invalidate();
}

void TProStringGrid::SetDUZGradientMirrorFrom(TColor v)
{
    FDUZGradientMirrorFrom = TColor(ColorToRGB(v));
    Invalidate();
}

void TProStringGrid::SetDUZGradientMirrorTo(TColor v)
{
    FDUZGradientMirrorTo = TColor(ColorToRGB(v));
    Invalidate();
}

void TProStringGrid::UpdateScrollBarAlways(bool HideUnneeded)
{
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    if (FScrollBarAlways != saNone) {
        const bool vert = FScrollBarAlways == saVert || FScrollBarAlways == saBoth;
        const bool horz = FScrollBarAlways == saHorz || FScrollBarAlways == saBoth;
        // A bar whose content fits shows disabled (or not at all); one that scrolls is left alone.
        if (rowsFit)
            ForceScrollBar(true, vert, false);
        else
            ReleaseScrollBar(true);
        if (colsFit)
            ForceScrollBar(false, horz, false);
        else
            ReleaseScrollBar(false);
    } else if (HideUnneeded) {
        if (rowsFit)
            ForceScrollBar(true, false, false);
        if (colsFit)
            ForceScrollBar(false, false, false);
    }
}

// ---- Editing helpers -----------------------------------------------------------------------------

TInplaceEdit *TProStringGrid::CreateEditor() { return new TProInplaceEdit(this); }

QString TProStringGrid::CellEditMask(int ACol, int ARow)
{
    QString v = FEditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, v);
    return v;
}

TCustomForm *TProStringGrid::FindParentForm(TControl *AControl)
{
    for (TControl *c = AControl; c; c = c->Parent())
        if (auto *f = dynamic_cast<TCustomForm *>(c))
            return f;
    return nullptr;
}

void TProStringGrid::FormResize(TObject *Sender)
{
    if (ComponentState().Contains(csDesigning) || IsDestroying())
        return;
    auto *form = dynamic_cast<TCustomForm *>(Sender);
    if (form && FSizeWithForm) {
        const int w = Width() + form->Width() - PrevSizeX;
        const int h = Height() + form->Height() - PrevSizeY;
        if (w > 0 && h > 0) {
            SetWidth(w);
            SetHeight(h);
            PrevSizeX = form->Width();
            PrevSizeY = form->Height();
        }
    }
    if (ResizeAssigned && FOnResize) {
        try {
            FOnResize(Sender);
        } catch (...) {
            // The form's own handler must not stop the grid from following.
        }
    }
}

void TProStringGrid::DateTimeChangeRelay(TDateTime ADateTime)
{
    if (OnDateTimeChange)
        OnDateTimeChange(this, Col(), Row(), ADateTime);
}

void TProStringGrid::DatePickerChangeRelay(bool TimeMode, TDateTime AValue)
{
    if (OnEditChange)
        OnEditChange(this, Col(), Row(), TimeMode ? TimeToStr(AValue) : DateToStr(AValue));
}

void TProStringGrid::DatePickerCloseUpRelay()
{
    if (OnDatePickerCloseUp)
        OnDatePickerCloseUp(this, Row(), Col());
    if (FMouseActions->DirectDateClose())
        HideInplaceEdit();
}

void TProStringGrid::DatePickerDropDownRelay()
{
    if (OnDatePickerDropDown)
        OnDatePickerDropDown(this, Row(), Col());
}
