#pragma once
// A drop-down edit with its settings published, on a shown form, with a tick count the test sets.
#include "editors/ProDropDown.h"
#include "editors/ProDropDownStrips.h"

#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

class TTestDropDown : public TProCustomDropDown
{
public:
    using TProCustomDropDown::DropDownWidth;
    using TProCustomDropDown::SetDropDownWidth;
    using TProCustomDropDown::DropDownHeight;
    using TProCustomDropDown::SetDropDownHeight;
    using TProCustomDropDown::EditorEnabled;
    using TProCustomDropDown::SetEditorEnabled;
    using TProCustomDropDown::SetDropPosition;
    using TProCustomDropDown::DropDownBorderWidth;
    using TProCustomDropDown::SetDropDownBorderWidth;
    using TProCustomDropDown::DropDownColor;
    using TProCustomDropDown::SetDropDownColor;
    using TProCustomDropDown::DropDownColorTo;
    using TProCustomDropDown::SetDropDownColorTo;
    using TProCustomDropDown::DropDownBorderColor;
    using TProCustomDropDown::SetDropDownBorderColor;
    using TProCustomDropDown::SetDropDownGradient;
    using TProCustomDropDown::DropDownButtonWidth;
    using TProCustomDropDown::SetDropDownButtonWidth;
    using TProCustomDropDown::DropDownButtonHint;
    using TProCustomDropDown::SetDropDownButtonHint;
    using TProCustomDropDown::DropDownButtonGlyph;
    using TProCustomDropDown::SetDropDownButtonGlyph;
    using TProCustomDropDown::DropDownSizeable;
    using TProCustomDropDown::SetControl;
    using TProCustomDropDown::Control;
    using TProCustomDropDown::SetFocusControl;
    using TProCustomDropDown::SelectionColor;
    using TProCustomDropDown::SelectionColorTo;
    using TProCustomDropDown::SelectionColorStyle;
    using TProCustomDropDown::SetSelectionColorStyle;
    using TProCustomDropDown::DrawSelectionBackground;
    using TProCustomDropDown::BorderColor;
    using TProCustomDropDown::SetBorderColor;
    using TProCustomDropDown::Version;
    using TProCustomDropDown::DropDownForm;
    using TProCustomDropDown::SetFlat;
    using TProCustomDropDown::Flat;
    using TProCustomDropDown::SetEtched;
    using TProCustomDropDown::Etched;
    using TProCustomDropDown::SetPrefix;
    using TProCustomDropDown::SetSuffix;
    using TProCustomDropDown::SetReturnIsTab;
    using TProCustomDropDown::SetCanUndo;
    using TProCustomDropDown::CanUndo;
    using TProCustomDropDown::SetDefaultHandling;
    using TProCustomDropDown::GetEditRect;
    using TProCustomDropDown::OnDropDown;
    using TProCustomDropDown::OnDropUp;
    using TProCustomDropDown::OnBeforeDropDown;
    using TProCustomDropDown::OnBeforeDropUp;
    using TProCustomDropDown::DropDownHeader;
    using TProCustomDropDown::DropDownFooter;
    using TProCustomDropDown::ButtonAppearance;
    using TProCustomDropDown::SetImages;
    using TProCustomDropDown::SetDropDownSizeable;
    using TProCustomDropDown::LabelCaption;
    using TProCustomDropDown::SetLabelCaption;
    using TProCustomDropDown::SetLabelPosition;
    using TProCustomDropDown::SetLabelMargin;
    using TProCustomDropDown::SetLabelAlwaysEnabled;
    using TProCustomDropDown::LabelFont;
    using TProCustomDropDown::SetFocusBorderColor;
    using TProCustomDropDown::SetDisabledBorder;
    using TProCustomDropDown::FLabel;
    using TProCustomDropDown::OnGetFooterText;
    using TProCustomDropDown::OnDrawFooter;
    using TProCustomDropDown::OnDropDownFooterButtonClick;
    using TProCustomDropDown::OnLabelClick;
    using TProCustomDropDown::OnLabelDblClick;
    using TProCustomDropDown::SetEditType;
    using TProCustomDropDown::Prefix;
    using TProCustomDropDown::Suffix;
    using TProCustomDropDown::SetPrecision;
    using TProCustomDropDown::SetSigned;
    using TProCustomDropDown::SetLengthLimit;
    using TProCustomDropDown::SetAllowNumericNullValue;
    using TProCustomDropDown::SetValidChars;
    using TProCustomDropDown::ThousandGroupMisplaced;
    using TProCustomDropDown::DecimalsFull;

    // Header and footer strips are shown only by the tests that look at them.
    explicit TTestDropDown(TComponent *AOwner) : TProCustomDropDown(AOwner)
    {
        DropDownHeader()->SetVisible(false);
        DropDownFooter()->SetVisible(false);
    }

    int wheelDown = 0, wheelUp = 0, resized = 0;
    // As a rewrite of the text by the edit itself does.
    void blockNextChange() { FBlockChange = true; }
    // As the reading of stored properties does until Loaded.
    void setLoading(bool on) { SetComponentStateItem(csLoading, on); }

protected:
    void WheelDownAction() override { ++wheelDown; }
    void WheelUpAction() override { ++wheelUp; }
    void DropDownFormResize() override { ++resized; }
};

// A picker that hosts an edit of 150 x 120 in its pop-up and logs its creation steps.
class TEditPicker : public TTestDropDown
{
public:
    TEditPicker(TComponent *AOwner, QStringList *Log) : TTestDropDown(AOwner), log(Log) {}
    void AfterConstruction() override
    {
        TTestDropDown::AfterConstruction();
        *log << QStringLiteral("own defaults");
        // A default of the picker that comes after the styles of the creation.
        SetDropDownColor(clYellow);
    }
    void SetComponentStyle(TDUZStyle AStyle) override
    {
        *log << QStringLiteral("component style %1").arg(int(AStyle));
        TTestDropDown::SetComponentStyle(AStyle);
        if (inner)
            inner->SetColor(DropDownColor());
    }

    QStringList *log;
    TEdit *inner = nullptr;

protected:
    void CreateDropDownForm() override
    {
        TTestDropDown::CreateDropDownForm();
        inner = new TEdit(this);
        inner->SetParent(DropDownForm());
        inner->SetBounds(0, 0, 150, 120);
        SetControl(inner);
        SetFocusControl(inner);
        *log << QStringLiteral("form");
    }
    void CreateDropDownButton() override
    {
        TTestDropDown::CreateDropDownButton();
        *log << QStringLiteral("button %1").arg(Button() ? Button()->Width() : -1);
    }
    void SetSelectionColorStyle(TSelectionColorStyle Value) override
    {
        *log << QStringLiteral("selection style %1").arg(int(Value));
        TTestDropDown::SetSelectionColorStyle(Value);
    }
};

// A form at (100, 100) with an edit at (20, 20) on it, shown and active.
struct DropDownForm : ::testing::Test
{
    TForm *form = nullptr;
    TTestDropDown *edit = nullptr;
    uint32_t ticks = 100000;

    void SetUp() override
    {
        SetTickCountSource([this] { return ticks; });
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 400, 300);
        edit = NewDropDown<TTestDropDown>(form);
        edit->SetParent(form);
        edit->SetBounds(20, 20, 200, 21);
        form->Show();
        settle();
    }
    void TearDown() override
    {
        delete form;
        SetTickCountSource(nullptr);
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    TDropDownForm *popup() const { return edit->DropDownForm(); }
    // The speed button inside the edit's button.
    QWidget *arrow() const { return edit->Button()->Controls(0)->Widget(); }
    void clickArrow() { mouseClick(arrow(), QPoint(5, 5)); settle(); }
    // Another window of the program takes the activation.
    void activate(TCustomForm *f)
    {
        f->Widget()->activateWindow();
        settle();
    }
};

// The colour of a pixel of what a widget shows.
inline TColor shownPixel(QWidget *w, int x, int y)
{
    const QRgb p = w->grab().toImage().pixel(x, y);
    return TColor(RGB(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))));
}

inline TColor rgbOf(TColor c) { return TColor(ColorToRGB(c)); }
