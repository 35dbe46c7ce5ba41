// Typed input of the drop-down edit: what each edit type lets through from the keyboard, the
// caret around a prefix and suffix, money separators, completion when the focus leaves, and paste.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "framework/os/Clipbrd.h"

namespace {

struct TypedInput : DropDownForm
{
    TFormatSettings saved;
    QWidget *w = nullptr;

    void SetUp() override
    {
        DropDownForm::SetUp();
        saved = FormatSettings;
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.ThousandSeparator = QLatin1Char(',');
        w = edit->Widget();
        edit->SetFocus();
        settle();
    }
    void TearDown() override
    {
        FormatSettings = saved;
        DropDownForm::TearDown();
    }
    // An edit of the type holding Value (window text as it stands), caret at window position Caret.
    void start(TDropDownEditType Type, const QString &Value, int Caret, int16_t Precision = 0)
    {
        edit->SetEditType(Type);
        edit->SetPrecision(Precision);
        edit->SetEditText(edit->Prefix() + Value + edit->Suffix());
        caret(Caret);
    }
    void caret(int At, int Length = 0)
    {
        edit->SetSelStart(At);
        edit->SetSelLength(Length);
    }
    void key(int Key, Qt::KeyboardModifiers Mods = Qt::NoModifier) { sendKey(w, Key, Mods); }
};

}  // namespace

TEST_F(TypedInput, FloatDecimalsAreCappedAndOverwrittenAndASecondPointJumps)
{
    start(etFloat, QString(), 0, 2);
    typeText(w, QStringLiteral("1.23"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1.23"));
    typeText(w, QStringLiteral("4"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1.23")) << "a digit past the decimals is refused";
    EXPECT_TRUE(edit->GetModifiedFlag());

    caret(2);
    typeText(w, QStringLiteral("9"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1.93")) << "a digit after the point overwrites";
    EXPECT_EQ(edit->SelStart(), 3);

    caret(0);
    typeText(w, QStringLiteral("."));
    EXPECT_EQ(edit->Text(), QStringLiteral("1.93"));
    EXPECT_EQ(edit->SelStart(), 2) << "a second point moves the caret after the first";

    // A point typed first gets its zero; letters never pass.
    start(etFloat, QString(), 0, 2);
    typeText(w, QStringLiteral(".5x"));
    EXPECT_EQ(edit->Text(), QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(edit->GetFloatValue(), 0.5);
}

TEST_F(TypedInput, MoneyGetsThousandSeparatorsWhileTypingAndDeleting)
{
    start(etMoney, QString(), 0, 2);
    typeText(w, QStringLiteral("1234"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1,234"));
    EXPECT_EQ(edit->SelStart(), 5);
    typeText(w, QStringLiteral("567"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1,234,567"));

    // Delete of the first digit regroups the rest; the caret keeps its distance from the end.
    caret(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), QStringLiteral("234,567"));
    EXPECT_EQ(edit->SelStart(), 0);
    caret(7);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), QStringLiteral("23,456"));
    EXPECT_DOUBLE_EQ(edit->GetFloatValue(), 23456);

    // A separator only exactly three digits from the groups.
    EXPECT_TRUE(edit->ThousandGroupMisplaced(QStringLiteral("1,23"), 4));
    EXPECT_FALSE(edit->ThousandGroupMisplaced(QStringLiteral("1,234"), 5));
    EXPECT_TRUE(edit->ThousandGroupMisplaced(QStringLiteral("1,2345"), 6));
    EXPECT_FALSE(edit->ThousandGroupMisplaced(QStringLiteral("1234"), 2));
}

TEST_F(TypedInput, MinusIsRefusedUnsignedAndTogglesTheSignWhenSigned)
{
    for (TDropDownEditType t : {etNumeric, etFloat, etMoney}) {
        SCOPED_TRACE(int(t));
        edit->SetSigned(false);
        start(t, QStringLiteral("12"), 1);
        typeText(w, QStringLiteral("-"));
        EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    }
    edit->SetPrefix(QStringLiteral("$"));
    edit->SetSuffix(QStringLiteral(" %"));
    edit->SetSigned(true);
    for (TDropDownEditType t : {etNumeric, etFloat}) {
        SCOPED_TRACE(int(t));
        start(t, QStringLiteral("12"), 2);
        typeText(w, QStringLiteral("-"));
        EXPECT_EQ(edit->EditText(), QStringLiteral("$-12 %"));
        EXPECT_EQ(edit->SelStart(), 3);
        caret(4);
        typeText(w, QStringLiteral("-"));
        EXPECT_EQ(edit->EditText(), QStringLiteral("$12 %"));
        EXPECT_EQ(edit->SelStart(), 3);
    }
}

TEST_F(TypedInput, RangeSeparatorsNeedADigitOnBothSides)
{
    start(etRange, QString(), 0);
    typeText(w, QStringLiteral(",1-3,5;7x"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1-3,5;7")) << "a separator first and a letter are refused";
    typeText(w, QStringLiteral(";;"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1-3,5;7;"));
    caret(3);
    typeText(w, QStringLiteral("-"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1-3,5;7;")) << "next to the comma after the caret";
}

TEST_F(TypedInput, OtherTypesFilterOrConvertCharacters)
{
    struct Case
    {
        TDropDownEditType type;
        const char *typed, *want;
    };
    edit->SetValidChars(QStringLiteral("xy"));
    const Case cases[] = {
        {etNumeric, "1a2.3", "123"}, {etHex, "1fG-z", "1f-"},     {etAlphaNumeric, "a1 _B", "a1B"},
        {etUppercase, "abc", "ABC"}, {etLowerCase, "AbC", "abc"}, {etValidChars, "xaybz", "xy"},
        {etMixedCase, "john smith", "John Smith"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        start(c.type, QString(), 0);
        typeText(w, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.want));
    }
}

TEST_F(TypedInput, TheCaretNeverEntersThePrefixOrTheSuffix)
{
    edit->SetPrefix(QStringLiteral("$"));
    edit->SetSuffix(QStringLiteral(" %"));
    start(etNumeric, QStringLiteral("12"), 2);
    key(Qt::Key_Home);
    EXPECT_EQ(edit->SelStart(), 1);
    key(Qt::Key_Left);
    EXPECT_EQ(edit->SelStart(), 1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit->EditText(), QStringLiteral("$12 %"));
    EXPECT_EQ(edit->SelStart(), 1);
    key(Qt::Key_End);
    EXPECT_EQ(edit->SelStart(), 3);
    key(Qt::Key_Right);
    EXPECT_EQ(edit->SelStart(), 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit->EditText(), QStringLiteral("$12 %"));
    // Shift+Home selects the value from its start.
    key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 2);

    // A click on the "$" or past the suffix lands inside the value.
    mouseClick(w, QPoint(3, w->height() / 2));
    EXPECT_GE(edit->SelStart(), 1);
    EXPECT_LE(edit->SelStart() + edit->SelLength(), 3);
    mouseClick(w, QPoint(150, w->height() / 2));
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 0);

    // A whole selection typed over keeps prefix and suffix.
    key(Qt::Key_A, Qt::ControlModifier);
    typeText(w, QStringLiteral("7"));
    EXPECT_EQ(edit->EditText(), QStringLiteral("$7 %"));
}

TEST_F(TypedInput, LengthLimitCountsTheIntegerPart)
{
    edit->SetLengthLimit(3);
    start(etFloat, QStringLiteral("123.4"), 1);
    typeText(w, QStringLiteral("9"));
    EXPECT_EQ(edit->Text(), QStringLiteral("123.4"));
    caret(5);
    typeText(w, QStringLiteral("5"));
    EXPECT_EQ(edit->Text(), QStringLiteral("123.45"));
    caret(3);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), QStringLiteral("123.45")) << "deleting the point would join five digits";
    caret(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), QStringLiteral("23.45"));
}

TEST_F(TypedInput, LeavingTheEditCompletesNumbers)
{
    TEdit other(form);
    other.SetParent(form);
    other.SetBounds(20, 80, 100, 21);
    auto leave = [&] {
        edit->SetFocus();
        settle();
        other.SetFocus();
        settle();
    };
    start(etNumeric, QString(), 0);
    leave();
    EXPECT_EQ(edit->Text(), QStringLiteral("0"));

    start(etFloat, QStringLiteral("1.5"), 0, 2);
    edit->SetEditText(QStringLiteral("1.5"));
    leave();
    EXPECT_EQ(edit->Text(), QStringLiteral("1.50"));

    edit->SetAllowNumericNullValue(true);
    start(etNumeric, QString(), 0);
    leave();
    EXPECT_EQ(edit->Text(), QString());

    // Assigned texts are normalised for their type.
    struct Case
    {
        TDropDownEditType type;
        int16_t precision;
        const char *text, *want;
    };
    const Case cases[] = {{etNumeric, 0, "", "0"},       {etFloat, 2, "", "0.00"}, {etMoney, 2, "1234.5", "1,234.50"},
                          {etHex, 0, "ff", "FF"},        {etFloat, 2, "Error", "Error"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        edit->SetEditType(c.type);
        edit->SetPrecision(c.precision);
        edit->SetText(QString::fromLatin1(c.text));
        EXPECT_EQ(edit->Text(), QString::fromLatin1(c.want));
    }
}

TEST_F(TypedInput, PasteKeepsOnlyWhatTheTypeTakes)
{
    auto paste = [&](const QString &clip) {
        Clipboard()->SetAsText(clip);
        key(Qt::Key_V, Qt::ControlModifier);
    };
    start(etNumeric, QStringLiteral("5"), 1);
    paste(QStringLiteral("12a"));
    EXPECT_EQ(edit->Text(), QStringLiteral("5"));
    paste(QStringLiteral("12"));
    EXPECT_EQ(edit->Text(), QStringLiteral("512"));
    EXPECT_EQ(edit->SelStart(), 3);
    paste(QStringLiteral("-1")) ;
    EXPECT_EQ(edit->Text(), QStringLiteral("512")) << "unsigned";

    start(etHex, QStringLiteral("A"), 1);
    paste(QStringLiteral("B"));
    EXPECT_EQ(edit->Text(), QStringLiteral("A"));

    // A number replaces the selection and is written with the decimals.
    start(etFloat, QStringLiteral("7.00"), 0, 2);
    caret(0, 4);
    paste(QStringLiteral("1,234.5"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1234.50"));
    EXPECT_TRUE(edit->GetModifiedFlag());
    // Text that is no number leaves the value alone.
    caret(0, 7);
    paste(QStringLiteral("12-3"));
    EXPECT_EQ(edit->Text(), QStringLiteral("1234.50"));

    // The paste event sees the result and may refuse it.
    QString seen;
    edit->OnClipboardPaste = [&](TObject *, const QString &value, bool &allow) {
        seen = value;
        allow = false;
    };
    start(etString, QStringLiteral("ab"), 1);
    paste(QStringLiteral("XY"));
    EXPECT_EQ(seen, QStringLiteral("aXYb"));
    EXPECT_EQ(edit->Text(), QStringLiteral("ab"));
}

TEST(TypedRoutines, NumericKindAndConversions)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = QLatin1Char('.');
    FormatSettings.ThousandSeparator = QLatin1Char(',');
    struct Case
    {
        const char *text;
        int kind;
    };
    const Case cases[] = {{"12", 0},     {"-12", 0},  {"1,234.5", 1}, {"1,2,3", 2}, {"1,23,4", 1}, {"1.2.3", 2},
                          {"--1", 2},    {"", 2},     {"1F", 5},      {"x", 2},      {"1,234,567", 1}};
    for (const Case &c : cases)
        EXPECT_EQ(TProCustomDropDown::NumericKind(QString::fromLatin1(c.text)), c.kind) << c.text;
    EXPECT_DOUBLE_EQ(TProCustomDropDown::StrToFloatEx(QStringLiteral("1,234.5")), 1234.5);
    EXPECT_DOUBLE_EQ(TProCustomDropDown::StrToFloatEx(QStringLiteral("abc")), 0);
    EXPECT_EQ(TProCustomDropDown::HexToInt(QStringLiteral("1aF")), 0x1AF);
    EXPECT_EQ(TProCustomDropDown::HexToInt(QStringLiteral("G")), 0);
    FormatSettings = saved;
}
