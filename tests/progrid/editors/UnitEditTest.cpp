// The edit with a unit: splitting a text into value and unit, the unit menu, the unit-changed
// event and the unit painted beside the button.
#include "editors/PSGEdit.h"
#include "framework/controls/Forms.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

TRect formatRect(TCustomEdit *e)
{
    TRect r;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

void setUnits(TPsgUnitEditBtn *e, const QStringList &units)
{
    TStringList list;
    list.AddStrings(units);
    e->SetUnits(&list);
}

struct UnitForm : ::testing::Test
{
    TForm *form = new TForm(nullptr);
    TPsgUnitEditBtn *edit = new TPsgUnitEditBtn(form);
    QStringList changes;
    QStringList events;

    void SetUp() override
    {
        form->SetBounds(0, 0, 300, 200);
        edit->SetParent(form);
        edit->SetBorderStyle(bsNone);
        edit->SetBounds(20, 30, 120, 22);
        setUnits(edit, {QStringLiteral("kg"), QStringLiteral("g"), QStringLiteral("mg")});
        edit->OnUnitChanged = [this](TObject *Sender, const QString &NewUnit) {
            EXPECT_EQ(Sender, edit);
            changes << NewUnit;
            events << QStringLiteral("changed");
        };
        edit->OnClickBtn = [this](TObject *Sender) {
            EXPECT_EQ(Sender, edit);
            events << QStringLiteral("click");
        };
        form->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
        delete form;
    }

    // Opens the unit menu with a click on the button.
    QMenu *openMenu()
    {
        QWidget *b = edit->Button()->Button()->Widget();
        mouseClick(b, QPoint(b->width() / 2, b->height() / 2));
        QApplication::processEvents();
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }
    // Chooses an entry of the open menu with the mouse.
    void choose(QMenu *menu, int index)
    {
        const QRect r = menu->actionGeometry(menu->actions().at(index));
        mouseMove(menu, r.center());
        mouseClick(menu, r.center());
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(UnitForm, StartsWithRightAlignedTextAndTwentyPixelsForTheUnit)
{
    EXPECT_TRUE(edit->RightAlign());
    EXPECT_EQ(edit->UnitSpace(), 20);
    EXPECT_EQ(edit->UnitID(), "");
    // No border: the text stops 18 + 20 + 5 and 3 more pixels left of the right edge.
    EXPECT_EQ(formatRect(edit), Rect(3, 3, 120 - 46, 23));
    edit->SetUnitSpace(30);
    EXPECT_EQ(formatRect(edit).Right, 120 - 56);
    edit->SetUnitSpace(0);
    EXPECT_EQ(formatRect(edit).Right, 120 - 23) << "no unit space, no extra gap";
}

TEST_F(UnitForm, TextAndUnitSplitsOffTheFirstUnitThatEndsTheText)
{
    const struct
    {
        QStringList units;
        const char *input;
        const char *text;
        const char *unit;
    } cases[] = {
        {{"kg", "g"}, "12.5kg", "12.5", "kg"},
        // g ends the text and occurs nowhere before: the list order decides.
        {{"g", "kg"}, "12.5kg", "12.5k", "g"},
        {{"mm", "m"}, "5m", "5", "m"},
        {{"kg"}, "kg", "", "kg"},
        // The unit occurs earlier: no match, nothing changes.
        {{"m"}, "m5m", "0", ""},
        // Longer than the text, or not at its end.
        {{"kg"}, "k", "0", ""},
        {{"g"}, "5gx", "0", ""},
        // An empty unit never matches.
        {{"", "l"}, "12", "0", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input);
        edit->SetText(QStringLiteral("0"));
        edit->SetUnitID(QString());
        setUnits(edit, c.units);
        edit->SetTextAndUnit(QString::fromLatin1(c.input));
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.text));
        EXPECT_EQ(edit->UnitID(), QString::fromLatin1(c.unit));
        EXPECT_EQ(edit->TextAndUnit(), edit->Text() + edit->UnitID());
    }
}

TEST_F(UnitForm, UnitsAreCopiedAndNothingIsIgnored)
{
    TStringList list;
    list.Add(QStringLiteral("l"));
    edit->SetUnits(&list);
    list.Add(QStringLiteral("ml"));
    EXPECT_EQ(edit->Units()->Count(), 1);
    edit->SetUnits(nullptr);
    EXPECT_EQ(edit->Units()->Count(), 1);
}

TEST_F(UnitForm, TheButtonClicksThenOpensTheUnitMenuBelowTheRightEnd)
{
    QMenu *menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(events, QStringList{QStringLiteral("click")});
    QStringList captions;
    for (QAction *a : menu->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"kg", "g", "mg"}));
    // Client width less 15 from the edit's left, its client height below its top, on screen.
    const QPoint origin = edit->Widget()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(menu->pos(), origin + QPoint(120 - 15, 22));
}

TEST_F(UnitForm, ChoosingAUnitShowsItAndAnnouncesOnlyAChange)
{
    choose(openMenu(), 1);
    EXPECT_EQ(edit->UnitID(), "g");
    EXPECT_EQ(changes, QStringList{QStringLiteral("g")});

    choose(openMenu(), 1);
    EXPECT_EQ(changes.size(), 1) << "the unit already shown";

    choose(openMenu(), 2);
    EXPECT_EQ(edit->UnitID(), "mg");
    EXPECT_EQ(changes, (QStringList{"g", "mg"}));
    // The ellipsis handler runs before the menu, every time.
    EXPECT_EQ(events, (QStringList{"click", "changed", "click", "click", "changed"}));
}

TEST_F(UnitForm, CommandsOutsideTheUnitsOrFromTextChangesAreIgnored)
{
    edit->Perform(WM_COMMAND, MakeWParam(2, EN_CHANGE), 0);
    edit->Perform(WM_COMMAND, MakeWParam(0, 0), 0);
    edit->Perform(WM_COMMAND, MakeWParam(4, 0), 0);
    EXPECT_EQ(edit->UnitID(), "");
    EXPECT_TRUE(changes.isEmpty());
    edit->Perform(WM_COMMAND, MakeWParam(3, 0), 0);
    EXPECT_EQ(edit->UnitID(), "mg");
}

TEST_F(UnitForm, TheUnitIsPaintedInItsSpaceLeftOfTheButton)
{
    edit->SetText(QString());
    edit->Font()->SetColor(clRed);
    edit->SetUnitID(QStringLiteral("mg"));
    const QImage img = edit->Widget()->grab().toImage();
    // Its space: 20 pixels ending 18 + 3 left of the client's right edge, from y = 2.
    const QRect unitSpace(120 - 21 - 20, 2, 20, 20);
    int inside = 0, outside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100)
                ++(unitSpace.contains(x, y) ? inside : outside);
        }
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
}
