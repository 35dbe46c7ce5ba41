// The spin edit: values read from and written to its text, stepping by kind and by the field
// under the caret, the keystroke filter, its keys, focus and loading, and the place of its button.
#include "editors/psgspin.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/UiSeam.h"
#include "framework/os/Clipbrd.h"
#include "framework/rtl/SysUtils.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"
#include <QCoreApplication>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct SpinEditTest : ::testing::Test
{
    TFormatSettings fs;
    std::unique_ptr<TFormatSettingsScope> locale;
    TUiScript ui;
    TForm form{nullptr};
    TPsgSpinEdit *edit = nullptr;

    void SetUp() override
    {
        fs.LongTimeFormat = QStringLiteral("h:nn:ss");
        useLocale();
        form.SetBounds(0, 0, 300, 200);
        edit = new TPsgSpinEdit(&form);
        edit->SetParent(&form);
        edit->SetBounds(10, 10, 100, 30);
    }

    // Makes the conversions use fs as it stands now.
    void useLocale()
    {
        locale.reset();
        locale = std::make_unique<TFormatSettingsScope>(fs);
    }

    QWidget *w() const { return edit->Widget(); }
    int beeps() const { return static_cast<int>(ui.RecordsOf(TUiKind::Beep).size()); }
    void setText(const QString &t, int caret)
    {
        edit->SetText(t);
        edit->SetSelStart(caret);
    }
    void type(const QString &s) { typeText(w(), s); }
};

// --- values ------------------------------------------------------------------------------------

TEST_F(SpinEditTest, ValuesReadTheTextAndFallBackWhenItDoesNotConvert)
{
    edit->SetMinValue(5);
    edit->SetMaxValue(10);
    edit->SetMinDateValue(40000);
    struct Case
    {
        const char *text;
        int32_t value;
        double floatValue, timeValue;
    };
    const Case cases[] = {
        {"", 0, 5.0, 0.0},         {" 42 ", 42, 42.0, 0.0},  {"abc", 5, 5.0, 0.0},
        {"-7", -7, -7.0, 0.0},     {"2.5", 5, 2.5, 0.0},     {"6:30", 5, 5.0, 390.0 / 1440.0},
    };
    for (const Case &c : cases) {
        edit->SetText(QString::fromLatin1(c.text));
        EXPECT_EQ(edit->Value(), c.value) << c.text;
        EXPECT_DOUBLE_EQ(edit->FloatValue(), c.floatValue) << c.text;
        EXPECT_DOUBLE_EQ(edit->TimeValue(), c.timeValue) << c.text;
    }

    // 4 March 2024 is day 45355 after 30 December 1899.
    edit->SetText(QStringLiteral("3/4/2024"));
    EXPECT_DOUBLE_EQ(edit->DateValue(), 45355.0);
    edit->SetText(QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(edit->DateValue(), 40000.0);
    for (const char *now : {"", "0"}) {
        edit->SetText(QString::fromLatin1(now));
        EXPECT_LT(std::fabs(edit->DateValue() - Now()), 5.0 / SecsPerDay) << "the current date and time for '" << now << "'";
    }
}

TEST_F(SpinEditTest, WrittenValuesAreClampedUnlessTheBoundsAreEqual)
{
    struct IntCase
    {
        int32_t min, max, value;
        const char *text;
    };
    const IntCase ints[] = {{0, 100, 150, "100"}, {0, 100, -3, "0"},     {0, 0, 12345, "12345"},
                            {0, 0, -5, "-5"},     {7, 7, -100, "-100"}, {-10, 10, 9, "9"}};
    for (const IntCase &c : ints) {
        edit->SetMinValue(c.min);
        edit->SetMaxValue(c.max);
        edit->SetValue(c.value);
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.text)) << c.min << ".." << c.max << " " << c.value;
    }

    struct FloatCase
    {
        int precision;
        double min, max, value;
        const char *text;
    };
    const FloatCase floats[] = {{0, 0, 100, 3.14159, "3.14159"}, {2, 0, 100, 3.14159, "3.14"}, {2, 0, 100, 250, "100.00"},
                                {0, 1, 1, -2.5, "-2.5"},          {3, 0, 100, 0.1 + 0.2, "0.300"}};
    for (const FloatCase &c : floats) {
        edit->SetPrecision(c.precision);
        edit->SetMinFloatValue(c.min);
        edit->SetMaxFloatValue(c.max);
        edit->SetFloatValue(c.value);
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.text)) << c.value;
    }

    // The default date range (0, 0) bounds nothing: a time past midnight shows its time of day.
    edit->SetTimeValue(1.5);
    EXPECT_EQ(edit->Text(), QStringLiteral("12:00:00"));
    edit->SetDateValue(-36522);  // 1 January 1800
    EXPECT_EQ(edit->Text(), QStringLiteral("1/1/1800"));
    edit->SetShowSeconds(false);
    edit->SetTimeValue(0.75);
    EXPECT_EQ(edit->Text(), QStringLiteral("18:00"));

    edit->SetMinDateValue(45292);  // 1 January 2024
    edit->SetMaxDateValue(45657);  // 31 December 2024
    setText(QStringLiteral("6/15/2024"), 3);
    edit->SetDateValue(46000);
    EXPECT_EQ(edit->Text(), QStringLiteral("12/31/2024"));
    EXPECT_EQ(edit->SelStart(), 3) << "the caret stays where it was";
}

// --- stepping ----------------------------------------------------------------------------------

TEST_F(SpinEditTest, ArrowsAndKeysStepNumbersAndNeverReachTheKeyDownEvent)
{
    int keyDowns = 0;
    edit->OnKeyDown = [&](TObject *, Word &, TShiftState) { ++keyDowns; };
    edit->SetIncrement(5);
    edit->SetText(QStringLiteral("10"));
    sendKey(w(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("15"));
    sendKey(w(), Qt::Key_PageUp);  // a page is one step for an integer
    EXPECT_EQ(edit->Text(), QStringLiteral("20"));
    sendKey(w(), Qt::Key_Down);
    sendKey(w(), Qt::Key_PageDown);
    EXPECT_EQ(edit->Text(), QStringLiteral("10"));
    EXPECT_EQ(keyDowns, 0);
    mouseClick(edit->Button()->UpButton()->Widget(), QPoint(3, 3));
    EXPECT_EQ(edit->Text(), QStringLiteral("15"));
    mouseClick(edit->Button()->DownButton()->Widget(), QPoint(3, 3));
    EXPECT_EQ(edit->Text(), QStringLiteral("10"));
    edit->SetText(QStringLiteral("98"));
    sendKey(w(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("100"));

    // Without a range a step past the 32-bit limits stops at them.
    edit->SetMaxValue(0);
    edit->SetIncrement(1);
    edit->SetText(QStringLiteral("2147483647"));
    sendKey(w(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("2147483647"));
    edit->SetText(QStringLiteral("-2147483648"));
    sendKey(w(), Qt::Key_Down);
    EXPECT_EQ(edit->Text(), QStringLiteral("-2147483648"));

    edit->SetSpinType(sptFloat);
    edit->SetText(QStringLiteral("1.5"));
    sendKey(w(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("1.6"));
    sendKey(w(), Qt::Key_PageUp);
    EXPECT_EQ(edit->Text(), QStringLiteral("2.6"));
    sendKey(w(), Qt::Key_PageDown);
    sendKey(w(), Qt::Key_Down);
    EXPECT_EQ(edit->Text(), QStringLiteral("1.5"));
    EXPECT_EQ(keyDowns, 0);
    sendKey(w(), Qt::Key_Home);
    EXPECT_EQ(keyDowns, 1) << "other keys go on";
}

TEST_F(SpinEditTest, DateStepsTheFieldUnderTheCaret)
{
    struct Case
    {
        const char *format;
        char sep;
        const char *text;
        int caret;
        bool up;
        const char *want;
    };
    const Case cases[] = {
        {"M/d/yyyy", '/', "12/31/2024", 0, true, "1/31/2025"},
        {"M/d/yyyy", '/', "12/31/2024", 2, true, "1/31/2025"},
        {"M/d/yyyy", '/', "12/31/2024", 3, true, "1/1/2025"},
        {"M/d/yyyy", '/', "12/31/2024", 6, true, "12/31/2025"},
        {"M/d/yyyy", '/', "3/31/2024", 1, false, "2/29/2024"},
        {"d.M.yyyy", '.', "31.1.2024", 0, false, "30.1.2024"},
        {"d.M.yyyy", '.', "31.1.2024", 3, true, "29.2.2024"},
        {"d.M.yyyy", '.', "31.1.2024", 5, true, "31.1.2025"},
        // Year first counts as month first: the first field steps the month.
        {"yyyy-MM-dd", '-', "2024-03-31", 0, true, "2024-04-30"},
        {"yyyy-MM-dd", '-', "2024-03-31", 8, true, "2025-03-31"},
        // 29 February steps to the 28th in a year without one.
        {"M/d/yyyy", '/', "2/29/2024", 5, true, "2/28/2025"},
        {"M/d/yyyy", '/', "2/29/2024", 5, false, "2/28/2023"},
    };
    edit->SetSpinType(sptDate);
    for (const Case &c : cases) {
        fs.ShortDateFormat = QString::fromLatin1(c.format);
        fs.DateSeparator = QLatin1Char(c.sep);
        useLocale();
        setText(QString::fromLatin1(c.text), c.caret);
        sendKey(w(), c.up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.want)) << c.text << " caret " << c.caret;
        EXPECT_EQ(edit->SelStart(), c.caret);
    }
    EXPECT_TRUE(ui.Messages().isEmpty());
}

TEST_F(SpinEditTest, TimeStepsHoursMinutesOrSecondsAndGoesRoundMidnight)
{
    struct Case
    {
        bool seconds;
        const char *text;
        int caret;
        bool up;
        int hours, minutes;
        const char *want;
    };
    const Case cases[] = {
        {false, "0:00", 2, false, 1, 1, "23:59"},    {false, "23:30", 0, true, 1, 1, "0:30"},
        {false, "10:15", 1, true, 1, 1, "11:15"},    {false, "0:50", 4, true, 1, 15, "1:05"},
        {false, "12:00", 0, false, 5, 1, "7:00"},    {true, "1:02:03", 0, true, 1, 1, "2:02:03"},
        {true, "1:02:03", 2, true, 1, 1, "1:03:03"}, {true, "1:02:03", 4, true, 1, 1, "1:03:03"},
        {true, "1:02:03", 5, true, 1, 1, "1:02:04"}, {true, "0:00:00", 7, false, 1, 1, "23:59:59"},
    };
    edit->SetSpinType(sptTime);
    for (const Case &c : cases) {
        edit->SetShowSeconds(c.seconds);
        edit->SetIncrementHours(c.hours);
        edit->SetIncrementMinutes(c.minutes);
        setText(QString::fromLatin1(c.text), c.caret);
        sendKey(w(), c.up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.want)) << c.text << " caret " << c.caret;
    }

    // A step of a whole day cannot be encoded: the value stays and the error is shown.
    edit->SetIncrementHours(24);
    setText(QStringLiteral("1:00"), 0);
    EXPECT_THROW(edit->UpClick(false), EConvertError);
    sendKey(w(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("1:00"));
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("Invalid argument to time encode.")});
}

TEST_F(SpinEditTest, ReadOnlyEditOnlyBeeps)
{
    edit->SetText(QStringLiteral("12"));
    edit->SetReadOnly(true);
    sendKey(w(), Qt::Key_Up);
    mouseClick(edit->Button()->DownButton()->Widget(), QPoint(3, 3));
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    EXPECT_EQ(beeps(), 2);
    Clipboard()->SetAsText(QStringLiteral("9"));
    edit->Perform(WM_PASTE);
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
}

// --- typing ------------------------------------------------------------------------------------

TEST_F(SpinEditTest, TypedCharactersMustFitTheKindOfValue)
{
    struct Case
    {
        TPsgSpinType type;
        int precision;
        const char *text;
        int selStart, selLength;
        const char *key;
        const char *want;  // the text afterwards; equal to text when refused
    };
    const Case cases[] = {
        {sptFloat, 2, "1.25", 4, 0, "7", "1.25"},   {sptFloat, 0, "1.25", 4, 0, "7", "1.257"},
        {sptFloat, 2, "1.2", 3, 0, "5", "1.25"},    {sptFloat, 2, "1.25", 1, 0, "9", "19.25"},
        {sptFloat, 2, "1.25", 3, 1, "9", "1.29"},   {sptFloat, 0, "1.5", 3, 0, ".", "1.5"},
        {sptFloat, 0, "1.5", 0, 3, ".", "."},       {sptFloat, 0, "1500", 1, 0, ",", "1500"},
        {sptFloat, 0, "1", 1, 0, "e", "1"},         {sptNormal, 0, "12", 1, 0, "-", "12"},
        {sptNormal, 0, "-12", 0, 3, "-", "-"},      {sptNormal, 0, "12", 0, 0, "-", "-12"},
        {sptNormal, 0, "-12", 1, 0, "-", "-12"},    {sptNormal, 0, "12", 2, 0, "a", "12"},
        {sptNormal, 0, "12", 2, 0, ".", "12"},      {sptNormal, 0, "12", 2, 0, ":", "12"},
        {sptNormal, 0, "12", 2, 0, "/", "12"},      {sptTime, 0, "1", 1, 0, ":", "1:"},
        {sptTime, 0, "1:02:03", 7, 0, ":", "1:02:03"}, {sptTime, 0, "1:02", 4, 0, "/", "1:02"},
        {sptDate, 0, "1/2", 3, 0, "/", "1/2/"},     {sptDate, 0, "1/2", 3, 0, ":", "1/2"},
    };
    for (const Case &c : cases) {
        edit->SetSpinType(c.type);
        edit->SetPrecision(c.precision);
        edit->SetText(QString::fromLatin1(c.text));
        edit->SetSelStart(c.selStart);
        edit->SetSelLength(c.selLength);
        const int before = beeps();
        type(QString::fromLatin1(c.key));
        const QString want = QString::fromLatin1(c.want);
        EXPECT_EQ(edit->Text(), want) << c.type << " '" << c.text << "' + '" << c.key << "'";
        EXPECT_EQ(beeps() - before, want == QString::fromLatin1(c.text) ? 1 : 0) << "a refused key beeps";
    }
}

TEST_F(SpinEditTest, ClipboardKeysWorkInAnIntegerValue)
{
    setText(QStringLiteral("1"), 1);
    Clipboard()->SetAsText(QStringLiteral("42"));
    sendKey(w(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), QStringLiteral("142"));
    edit->SelectAll();
    sendKey(w(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("142"));
    sendKey(w(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), QString());
    EXPECT_EQ(beeps(), 0);
}

TEST_F(SpinEditTest, EditorOffRefusesTypingPastingAndCuttingButTheArrowsStillStep)
{
    edit->SetEditorEnabled(false);
    setText(QStringLiteral("12"), 2);
    type(QStringLiteral("a5"));
    sendKey(w(), Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    EXPECT_EQ(beeps(), 3);
    edit->SetSelStart(0);
    sendKey(w(), Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    EXPECT_EQ(beeps(), 3) << "Delete does nothing, silently";

    Clipboard()->SetAsText(QStringLiteral("9"));
    sendKey(w(), Qt::Key_V, Qt::ControlModifier);
    sendKey(w(), Qt::Key_Insert, Qt::ShiftModifier);
    edit->SelectAll();
    sendKey(w(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("9"));

    sendKey(w(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), QStringLiteral("13"));
    EXPECT_EQ(edit->SelLength(), 2) << "a written value is selected while the editor is off";
    mouseClick(edit->Button()->UpButton()->Widget(), QPoint(3, 3));
    EXPECT_EQ(edit->Text(), QStringLiteral("14"));

    edit->SetEditorEnabled(true);
    edit->SetSelStart(2);
    sendKey(w(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), QStringLiteral("149"));
}

TEST_F(SpinEditTest, KeypadDecimalKeyTypesTheLocaleSeparatorInExcelStyle)
{
    fs.DecimalSeparator = QLatin1Char(',');
    fs.ThousandSeparator = QLatin1Char('.');
    useLocale();
    edit->SetSpinType(sptFloat);
    setText(QStringLiteral("1"), 1);
    sendKey(w(), Qt::Key_Period, Qt::KeypadModifier, QStringLiteral("."));
    EXPECT_EQ(edit->Text(), QStringLiteral("1")) << "without Excel style the keypad types its point";
    EXPECT_EQ(beeps(), 1);

    edit->SetExcelStyleDecimalSeparator(true);
    sendKey(w(), Qt::Key_Period, Qt::KeypadModifier, QStringLiteral("."));
    EXPECT_EQ(edit->Text(), QStringLiteral("1,"));
    type(QStringLiteral("5"));
    setText(QStringLiteral("1"), 1);
    type(QStringLiteral("."));
    EXPECT_EQ(edit->Text(), QStringLiteral("1")) << "the main keyboard's point is still refused";
    EXPECT_EQ(beeps(), 2);
}

// --- focus, loading and kinds ------------------------------------------------------------------

TEST_F(SpinEditTest, EnteringSelectsAndLeavingClampsTheValue)
{
    auto *other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 60, 100, 21);
    form.Show();
    QCoreApplication::processEvents();
    other->SetFocus();

    edit->SetText(QStringLiteral("250"));
    edit->SetFocus();
    EXPECT_EQ(edit->SelLength(), 3);
    other->SetFocus();
    EXPECT_EQ(edit->Text(), QStringLiteral("100"));

    edit->SetSpinType(sptFloat);
    edit->SetPrecision(1);
    edit->SetAutoSelect(false);
    edit->SetText(QStringLiteral("-4"));
    edit->SetFocus();
    EXPECT_EQ(edit->SelLength(), 0);
    other->SetFocus();
    EXPECT_EQ(edit->Text(), QStringLiteral("0.0"));

    // Inside the range nothing is re-formatted.
    edit->SetText(QStringLiteral("5"));
    edit->SetFocus();
    other->SetFocus();
    EXPECT_EQ(edit->Text(), QStringLiteral("5"));
}

TEST_F(SpinEditTest, ReturnActsAsTabWhenAsked)
{
    auto *other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 60, 100, 21);
    form.Show();
    QCoreApplication::processEvents();
    edit->SetFocus();
    sendKey(w(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(edit->Focused());

    edit->SetReturnIsTab(true);
    sendKey(w(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(edit->Text(), QStringLiteral("0"));
}

TEST_F(SpinEditTest, LoadingStoresDatesAndTimesUntilLoaded)
{
    edit->Loading();
    edit->SetSpinType(sptDate);
    edit->SetDateValue(45418);  // 6 May 2024
    EXPECT_EQ(edit->Text(), QStringLiteral("0"));
    edit->Loaded();
    EXPECT_EQ(edit->Text(), QStringLiteral("5/6/2024"));

    auto *time = new TPsgSpinEdit(&form);
    time->Loading();
    time->SetTimeValue(0.6875);
    time->SetShowSeconds(false);
    time->SetSpinType(sptTime);
    time->Loaded();
    EXPECT_EQ(time->Text(), QStringLiteral("16:30"));
}

TEST_F(SpinEditTest, ChangingTheKindReformatsTheText)
{
    edit->SetText(QStringLiteral("3.7"));
    edit->SetPrecision(2);
    edit->SetSpinType(sptFloat);
    EXPECT_EQ(edit->Text(), QStringLiteral("3.70"));
    edit->SetPrecision(1);
    EXPECT_EQ(edit->Text(), QStringLiteral("3.7"));
    edit->SetSpinType(sptNormal);
    EXPECT_EQ(edit->Text(), QStringLiteral("0")) << "3.7 is no integer: the minimum";
    edit->SetSpinType(sptTime);
    EXPECT_EQ(edit->Text(), QStringLiteral("0:00:00"));
}

// --- layout ------------------------------------------------------------------------------------

TEST_F(SpinEditTest, ButtonSitsInsideTheRightEdgeAndTheTextStopsBeforeIt)
{
    auto editRect = [&] {
        TRect r;
        edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    };
    ASSERT_EQ(edit->Height(), 30);
    EXPECT_EQ(edit->Button()->BoundsRect(), Rect(82, 2, 97, 27));
    EXPECT_EQ(editRect(), Rect(0, 0, 83, 31));

    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(edit->Button()->BoundsRect(), Rect(84, 0, 99, 29));
    EXPECT_EQ(editRect(), Rect(3, 3, 80, 31));
    edit->SetBorderStyle(bsSingle);

    edit->SetDirection(spHorizontal);
    EXPECT_EQ(edit->Button()->BoundsRect(), Rect(77, 2, 97, 27));
    EXPECT_EQ(edit->Button()->UpButton()->ButtonDirection(), bdRight);
    edit->SetDirection(spVertical);

    edit->SetCtl3D(false);
    EXPECT_EQ(edit->Button()->BoundsRect(), Rect(85, 1, 100, 28));
    edit->SetCtl3D(true);

    // Too low for the font: raised to the least height, and the button follows.
    edit->SetHeight(3);
    const int single = edit->MinHeight();
    EXPECT_GT(single, 3);
    EXPECT_EQ(edit->Height(), single);
    EXPECT_EQ(edit->Button()->Height(), single - 5);
    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(single - edit->MinHeight(), 4) << "a border adds four border heights";
}

TEST_F(SpinEditTest, LookSettingsReachTheArrows)
{
    edit->SetIsWinXP(true);
    EXPECT_TRUE(edit->Button()->IsWinXP());
    EXPECT_TRUE(edit->Button()->UpButton()->IsWinXP());
    EXPECT_TRUE(edit->Button()->DownButton()->IsWinXP());
    edit->SetSpinFlat(true);
    edit->SetSpinTransparent(true);
    for (TProTimerSpeedButton *b : {edit->Button()->UpButton(), edit->Button()->DownButton()}) {
        EXPECT_TRUE(b->Flat());
        EXPECT_TRUE(b->Transparent());
    }
    EXPECT_EQ(edit->Width(), 100);
}

}  // namespace
