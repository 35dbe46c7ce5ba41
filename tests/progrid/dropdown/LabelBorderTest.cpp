// The drop-down edit's caption label and the frames it paints over its own.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "framework/controls/StdCtrls.h"

using LabelAndBorders = DropDownForm;

TEST_F(LabelAndBorders, TheLabelStandsWhereItsPositionSays)
{
    edit->SetBounds(100, 50, 200, 21);
    edit->SetLabelMargin(4);
    edit->SetLabelCaption(QStringLiteral("Name:"));
    TLabel *label = edit->FLabel;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(edit->LabelCaption(), QStringLiteral("Name:"));

    TCanvas measure;
    measure.Font()->Assign(edit->LabelFont());
    const int w = measure.TextWidth(QStringLiteral("Name:"));
    const int lw = label->Width(), lh = label->Height();
    ASSERT_GT(w, 0);
    ASSERT_LT(lh, 21);
    struct Case
    {
        TLabelPosition position;
        int left, top;
    };
    const int vc = 50 + (21 - lh) / 2, hc = 100 + (200 - lw) / 2;
    const Case cases[] = {
        {lpLeftTop, 100 - w - 4, 50},          {lpLeftCenter, 100 - w - 4, vc},    {lpLeftBottom, 100 - w - 4, 71 - lh},
        {lpTopLeft, 100, 50 - lh - 4},         {lpBottomLeft, 100, 75},            {lpLeftTopLeft, 96, 50},
        {lpLeftCenterLeft, 96, vc},            {lpLeftBottomLeft, 96, 71 - lh},    {lpTopCenter, hc, 50 - lh - 4},
        {lpBottomCenter, hc, 75},              {lpRightTop, 304, 50},              {lpRightCenter, 304, vc},
        {lpRighBottom, 304, 71 - lh},          {lpTopRight, 300 - lw, 50 - lh - 4}, {lpBottomRight, 300 - lw, 75},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.position));
        edit->SetLabelPosition(c.position);
        EXPECT_EQ(label->Left(), c.left);
        EXPECT_EQ(label->Top(), c.top);
    }

    // The label follows the edit when it moves, and its visibility at the next placing.
    edit->SetLabelPosition(lpLeftTop);
    edit->SetBounds(150, 80, 200, 21);
    EXPECT_EQ(label->Left(), 150 - w - 4);
    EXPECT_EQ(label->Top(), 80);
    edit->SetVisible(false);
    EXPECT_TRUE(label->Visible());
    edit->SetLabelMargin(6);
    EXPECT_FALSE(label->Visible());
    EXPECT_EQ(label->Left(), 150 - w - 6);
}

TEST_F(LabelAndBorders, TheLabelClicksReachTheEditAndLoadingSetsItsEnabledState)
{
    edit->SetLabelCaption(QStringLiteral("&Species"));
    TLabel *label = edit->FLabel;
    EXPECT_EQ(label->FocusControl(), edit);
    QStringList log;
    edit->OnLabelClick = [&](TObject *Sender) { log << (Sender == edit ? "click" : "?"); };
    edit->OnLabelDblClick = [&](TObject *Sender) { log << (Sender == edit ? "double" : "?"); };
    label->Click();
    label->DblClick();
    EXPECT_EQ(log, QStringList({"click", "double"}));

    for (const bool always : {false, true}) {
        SCOPED_TRACE(always);
        label->SetEnabled(true);
        edit->SetLabelAlwaysEnabled(always);
        edit->setLoading(true);
        edit->SetEnabled(false);
        edit->Loaded();
        EXPECT_EQ(label->Enabled(), always);
        EXPECT_FALSE(edit->Button()->Enabled());
        edit->SetEnabled(true);
    }
}

TEST_F(LabelAndBorders, ColouredFramesFollowTheFocus)
{
    TEdit other(form);
    other.SetParent(form);
    other.SetBounds(20, 200, 100, 21);
    edit->SetBorderColor(clRed);
    edit->SetFocusBorderColor(clBlue);
    other.SetFocus();
    settle();
    QWidget *w = edit->Widget();
    for (const QPoint p : {QPoint(0, 10), QPoint(100, 0), QPoint(100, 20)})
        EXPECT_EQ(shownPixel(w, p.x(), p.y()), clRed) << p.x() << "," << p.y();
    edit->SetFocus();
    settle();
    ASSERT_TRUE(edit->Focused());
    for (const QPoint p : {QPoint(0, 10), QPoint(100, 0), QPoint(100, 20)})
        EXPECT_EQ(shownPixel(w, p.x(), p.y()), clBlue) << p.x() << "," << p.y();

    // A focus colour alone frames only the focused edit.
    edit->SetBorderColor(clNone);
    EXPECT_EQ(shownPixel(w, 0, 10), clBlue);
    other.SetFocus();
    settle();
    EXPECT_NE(shownPixel(w, 0, 10), clBlue);
}

TEST_F(LabelAndBorders, ADisabledEditShowsASilverOrAFlatFrame)
{
    TEdit other(form);
    other.SetParent(form);
    other.SetFocus();
    settle();
    form->SetColor(clYellow);
    edit->SetEnabled(false);
    settle();
    QWidget *w = edit->Widget();
    EXPECT_EQ(shownPixel(w, 0, 10), clSilver);
    EXPECT_EQ(shownPixel(w, 100, 20), clSilver);
    // Without the disabled border: two frames in the parent's colour.
    edit->SetDisabledBorder(false);
    EXPECT_EQ(shownPixel(w, 0, 10), clYellow);
    EXPECT_EQ(shownPixel(w, 1, 10), clYellow);
    EXPECT_EQ(shownPixel(w, 100, 1), clYellow);
    // A border colour gives way to the silver frame while disabled.
    edit->SetDisabledBorder(true);
    edit->SetBorderColor(clRed);
    EXPECT_EQ(shownPixel(w, 0, 10), clSilver);
    edit->SetEnabled(true);
    EXPECT_EQ(shownPixel(w, 0, 10), clRed);
}

TEST_F(LabelAndBorders, AFlatEditIsSunkenWhileHotAndTheButtonShowsIt)
{
    TEdit other(form);
    other.SetParent(form);
    other.SetBounds(20, 200, 100, 21);
    other.SetFocus();
    settle();
    form->SetColor(clYellow);
    edit->SetFlat(true);
    edit->Invalidate();
    QWidget *w = edit->Widget();
    auto *arrow = dynamic_cast<TProDropDownSpeedButton *>(edit->Button()->Controls(0));
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(shownPixel(w, 0, 10), clYellow);
    EXPECT_FALSE(arrow->Focused());

    mouseEnter(w, QPoint(5, 5));
    EXPECT_TRUE(edit->IsHot());
    EXPECT_TRUE(arrow->Focused());
    // The sunken edge outside, the button face inside it.
    EXPECT_EQ(shownPixel(w, 0, 10), rgbOf(clBtnShadow));
    EXPECT_EQ(shownPixel(w, 1, 10), rgbOf(clBtnFace));
    mouseLeave(w);
    EXPECT_FALSE(edit->IsHot());
    EXPECT_FALSE(arrow->Focused());
    EXPECT_EQ(shownPixel(w, 0, 10), clYellow);

    // The active control is hot too.
    edit->SetFocus();
    settle();
    EXPECT_TRUE(edit->IsHot());
    EXPECT_TRUE(arrow->Focused());
}
