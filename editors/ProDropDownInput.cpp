// The drop-down edit's typed input: the text between prefix and suffix, the kinds of values, the
// character filter, the key, mouse and focus rules and the clipboard.
#include "editors/ProDropDown.h"

#include "framework/controls/NativeControls.h"
#include "framework/os/Clipbrd.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProUtil.h"

#include <QChar>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

QChar ds() { return FormatSettings.DecimalSeparator; }
QChar ts() { return FormatSettings.ThousandSeparator; }

bool isNumericType(TDropDownEditType t) { return t == etNumeric || t == etFloat || t == etMoney; }

QString fixedFormat(int16_t precision, QChar kind, double value)
{
    return Format(QStringLiteral("%.") + QString::number(precision) + kind, {value});
}

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// A text that reads as a number: an optional leading sign, then digits, thousand separators
// and at most one decimal separator.
bool isPlainNumber(const QString &S, bool integer)
{
    QString t = TProCustomDropDown::StripThousandSeparators(S);
    if (t.startsWith(QLatin1Char('-')))
        t.remove(0, 1);
    if (t.isEmpty())
        return false;
    bool digit = false;
    for (QChar c : t) {
        if (isDigit(c))
            digit = true;
        else if (integer || c != ds())
            return false;
    }
    return digit;
}

}  // namespace

// ---- routines of the text

int TProCustomDropDown::NumericKind(const QString &S)
{
    if (S.isEmpty() || S.count(QLatin1Char('-')) > 1 || S.count(ds()) > 1)
        return 2;
    if (std::all_of(S.begin(), S.end(), [](QChar c) { return isDigit(c) || c == QLatin1Char('-'); }))
        return 0;
    bool isFloat = true;
    int lastTS = -1000;
    for (int i = 0; i < S.size() && isFloat; ++i) {
        const QChar c = S[i];
        if (c == ts()) {
            if (i - lastTS <= 2)
                isFloat = false;
            lastTS = i;
        } else if (!isDigit(c) && c != QLatin1Char(',') && c != QLatin1Char('-') && c != QLatin1Char('.')) {
            isFloat = false;
        }
    }
    if (isFloat)
        return 1;
    if (std::all_of(S.begin(), S.end(), [](QChar c) {
            const char16_t u = c.unicode();
            return isDigit(c) || u == '-' || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
        }))
        return 5;
    return 2;
}

QString TProCustomDropDown::StripThousandSeparators(const QString &S)
{
    QString t = S;
    t.remove(ts());
    return t;
}

double TProCustomDropDown::StrToFloatEx(const QString &S)
{
    double v = 0;
    return TryStrToFloat(S.contains(ts()) ? StripThousandSeparators(S) : S, v) ? v : 0;
}

int TProCustomDropDown::HexDigitValue(QChar C)
{
    const char16_t u = C.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return 0;
}

int64_t TProCustomDropDown::HexToInt(const QString &S)
{
    // Wraps around silently on overflow, as the digits are summed.
    uint64_t v = 0;
    for (QChar c : S)
        v = v * 16 + uint64_t(HexDigitValue(c));
    return int64_t(v);
}

bool TProCustomDropDown::IsRangeSeparator(QChar C)
{
    return C == QLatin1Char(',') || C == QLatin1Char('-') || C == QLatin1Char(';');
}

QString TProCustomDropDown::MatchCaseText(const QString &S, bool MatchCase)
{
    return MatchCase ? S : AnsiUpperCase(S);
}

int TProCustomDropDown::IntegerPartEnd(const QString &S) const
{
    const QString t = StripThousandSeparators(S);
    const int p = int(t.indexOf(ds()));
    int end = p >= 0 ? p + 1 : int(t.size()) + 1;
    if (FSigned && isNumericType(FEditType) && S.contains(QLatin1Char('-')))
        --end;
    return end;
}

int TProCustomDropDown::DecimalSeparatorPos()
{
    const QString t = Text();
    const int p = int(t.indexOf(ds()));
    if (p >= 0)
        return p + 1 + valueStart();
    return valueStart() + int(t.size()) + int(FSuffix.size()) + 1;
}

bool TProCustomDropDown::IsSignKey(QChar C) const
{
    return FSigned && isNumericType(FEditType) && C == QLatin1Char('-');
}

bool TProCustomDropDown::ThousandGroupMisplaced(const QString &S, int Caret) const
{
    if (!S.contains(ts()))
        return false;
    int p = Caret - int(FPrefix.size());
    QString rest = S;
    int smallest = int(S.size());
    for (int i = int(rest.indexOf(ts())); i >= 0; i = int(rest.indexOf(ts()))) {
        const int pos = i + 1;
        if (i < p) {
            // Digits between that separator and the caret.
            smallest = std::min(smallest, p - pos);
            rest = rest.mid(pos);
            p -= pos;
        } else {
            // The first separator after the caret is the nearest one there.
            smallest = std::min(smallest, pos - 1 - p);
            break;
        }
        if (smallest < 3)
            return true;
    }
    return smallest != 3;
}

bool TProCustomDropDown::DecimalsFull(const QString &S, int Caret) const
{
    if (FPrecision <= 0)
        return false;
    const int p = Caret - int(FPrefix.size());
    if (int(S.size()) - p > FPrecision)
        return false;
    const int d = int(S.indexOf(ds()));
    if (d < 0)
        return false;
    return p >= d + 1 && int(S.size()) - (d + 1) >= FPrecision;
}

void TProCustomDropDown::SetModifiedFlag(bool Value)
{
    if (isLoading() || !FEditorEnabled || ReadOnly())
        return;
    SetModified(Value);
    FIsModified = Value;
}

void TProCustomDropDown::SetEditText(const QString &Value) { TCustomMaskEdit::SetEditText(Value); }

void TProCustomDropDown::setValueText(const QString &Value)
{
    const bool modified = Modified();
    TCustomMaskEdit::SetEditText(FPrefix + Value + FSuffix);
    SetModified(modified);
}

// ---- values

void TProCustomDropDown::SetText(const QString &Value)
{
    QString v = Value;
    if (v.isEmpty() && (isNumericType(FEditType) || FEditType == etHex))
        v = QStringLiteral("0");
    if (FPrecision > 0 && !v.isEmpty() && v != QLatin1String("Error")) {
        if (FEditType == etMoney)
            v = fixedFormat(FPrecision, QLatin1Char('n'), StrToFloatEx(v));
        else if (FEditType == etFloat)
            v = fixedFormat(FPrecision, QLatin1Char('f'), StrToFloatEx(v));
    }
    if (FEditType == etHex)
        v = v.toUpper();
    ApplyText(FPrefix + v + FSuffix);
    Perform(CM_TEXTCHANGED);
    FOldText = v;
    SetModified(false);
    FIsModified = false;
}

void TProCustomDropDown::SetEditType(TDropDownEditType v)
{
    if (v == FEditType)
        return;
    FEditType = v;
    if (v == etPassword) {
        SetPasswordChar(QLatin1Char('*'));
        FCanUndo = false;
    } else {
        SetPasswordChar(QChar());
    }
    const int kind = NumericKind(Text());
    if (v == etNumeric && kind != 0)
        SetIntValue(0);
    else if ((v == etFloat || v == etMoney) && (kind == 2 || kind == 5))
        SetFloatValue(0);
    else if (v == etHex && kind != 0 && kind != 5)
        SetIntValue(0);
    if (isDesigning() && v == etFloat && FPrecision == 0)
        SetPrecision(2);
}

void TProCustomDropDown::SetPrecision(int16_t v)
{
    if (v == FPrecision || !(FEditType == etString || FEditType == etFloat || FEditType == etMoney))
        return;
    FPrecision = v;
    const int kind = NumericKind(Text());
    SetFloatValue(kind == 2 || kind == 5 ? 0 : GetFloatValue());
}

double TProCustomDropDown::GetFloatValue()
{
    const QString t = Text();
    switch (FEditType) {
    case etString: {
        double v = 0;
        int code = 0;
        Val(t, v, code);
        return v;
    }
    case etNumeric:
    case etFloat:
        if (t.isEmpty() || t == QLatin1String("Error") || t == QLatin1String("-"))
            return 0;
        return StrToFloatEx(t);
    case etMoney: {
        if (t.isEmpty())
            return 0;
        QString s = StripThousandSeparators(t);
        if (s.endsWith(ds()))
            s.chop(1);
        if (s.isEmpty() || s == QLatin1String("-"))
            return 0;
        return StrToFloatEx(s);
    }
    case etHex:
        return t.isEmpty() ? 0 : double(HexToInt(t));
    default:
        return 0;
    }
}

void TProCustomDropDown::SetFloatValue(double Value)
{
    QString s;
    switch (FEditType) {
    case etString:
    case etFloat:
    case etMoney:
        s = FPrecision < 0 ? Format(QStringLiteral("%g"), {Value}) : fixedFormat(FPrecision, QLatin1Char('f'), Value);
        break;
    case etNumeric:
        s = FPrecision < 0 ? Format(QStringLiteral("%g"), {Value}) : fixedFormat(FPrecision, QLatin1Char('n'), Value);
        break;
    case etHex:
        s = IntToHex(int64_t(std::trunc(Value)), 0);
        break;
    default:
        return;
    }
    SetText(s);
    if (FEditType == etMoney)
        ApplyThousandSeparators();
    SetModifiedFlag(true);
}

void TProCustomDropDown::SetIntValue(int64_t Value)
{
    switch (FEditType) {
    case etNumeric:
    case etFloat:
    case etMoney:
        SetText(IntToStr(Value));
        break;
    case etHex:
        SetText(IntToHex(Value, 0));
        break;
    default:
        return;
    }
    if (FEditType == etMoney)
        ApplyThousandSeparators();
    SetModifiedFlag(true);
}

void TProCustomDropDown::ApplyThousandSeparators()
{
    const QString old = Text();
    if (old.isEmpty())
        return;
    QString t = old;
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative)
        t.remove(0, 1);
    const int d = int(t.indexOf(ds()));
    const QString fraction = d >= 0 ? t.mid(d) : QString();
    const double whole = std::trunc(std::fabs(GetFloatValue()));
    QString integer = Format(FAutoThousandSeparator ? QStringLiteral("%n") : QStringLiteral("%f"), {whole});
    const int id = int(integer.indexOf(ds()));
    if (id >= 0)
        integer.truncate(id);
    const QString value = (negative ? QStringLiteral("-") : QString()) + integer + fraction;
    if (value == old)
        return;
    const int caret = SelStart();
    FBlockChange = true;
    setValueText(value);
    // The change event of the rewrite is swallowed; a rewrite that raised none leaves nothing pending.
    FBlockChange = false;
    SetSelStart(caret + int(value.size()) - int(old.size()));
    SetSelLength(0);
}

// ---- selection

void TProCustomDropDown::SelectAll()
{
    SetSelStart(valueStart());
    SetSelLength(int(Text().size()));
}

void TProCustomDropDown::SelectAfterDecimal()
{
    const int d = int(Text().indexOf(ds()));
    SetSelStart(d >= 0 ? valueStart() + d + 1 : valueStart());
    SetSelLength(0);
}

void TProCustomDropDown::SelectBeforeDecimal()
{
    const int d = int(Text().indexOf(ds()));
    SetSelStart(d >= 0 ? valueStart() + d : valueStart());
    SetSelLength(0);
}

void TProCustomDropDown::clampSelection()
{
    if (FPrefix.isEmpty() && FSuffix.isEmpty())
        return;
    const int s = SelStart(), e = s + SelLength();
    const int lo = valueStart(), hi = valueEnd();
    const int ns = std::clamp(s, lo, hi), ne = std::clamp(e, lo, hi);
    if (ns != s || ne != e) {
        SetSelStart(ns);
        SetSelLength(ne - ns);
    }
}

bool TProCustomDropDown::toggleSign()
{
    QString t = Text();
    const int caret = SelStart();
    if (SelLength() > 0 && SelLength() == t.size()) {
        setValueText(QStringLiteral("-"));
        SetSelStart(valueStart() + 1);
        SetSelLength(0);
        return true;
    }
    if (t.contains(QLatin1Char('-'))) {
        t.remove(t.indexOf(QLatin1Char('-')), 1);
        setValueText(t);
        SetSelStart(caret <= valueStart() ? valueStart() : caret - 1);
        SetSelLength(0);
        return false;
    }
    setValueText(QLatin1Char('-') + t);
    SetSelStart(caret + 1);
    SetSelLength(0);
    return true;
}

// ---- typing

void TProCustomDropDown::DefaultHandler(TMessage &Message)
{
    // Control characters stay with the key's own handling (Ctrl+A selects all).
    bool now = Message.Msg == WM_CHAR && (Message.CharCode() >= 32 || Message.CharCode() == 8);
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.CharCode()) {
        case VK_DELETE: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END: case VK_UP: case VK_DOWN:
            now = true;
            break;
        default:
            break;
        }
    }
    if (now)
        RunDefaultNow(Message, [&] { TCustomMaskEdit::DefaultHandler(Message); });
    else
        TCustomMaskEdit::DefaultHandler(Message);
}

void TProCustomDropDown::wmChar(TMessage &Message)
{
    if (!FEditorEnabled)
        return;
    QChar key(Message.CharCode());
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // A control character (Tab, Esc) that changes nothing leaves the modified flag alone.
    auto accept = [&] {
        Message.SetCharCode(key.unicode());
        const QString before = EditText();
        TCustomMaskEdit::Dispatch(Message);
        if (EditText() != before)
            SetModifiedFlag(true);
    };
    // 1. A typed key never replaces the prefix or the suffix.
    if (key.unicode() >= 32 || key.unicode() == 8)
        clampSelection();
    QString text = Text();
    const int caret = SelStart();
    const int selLength = SelLength();
    // 2-5: Enter, Esc and the clipboard keys.
    if (ctrl && key.unicode() == 13)
        return;
    // Enter and Esc reach the parent only through the dialog keys (with DefaultHandling); an
    // edit told not to pass them on keeps them.
    if (key.unicode() == 13) {
        QChar k = key;
        if (OnKeyPress)
            OnKeyPress(this, k);
        return;
    }
    if (key.unicode() == 27 && !FCanUndo) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (ctrl && (key.unicode() == 3 || key.unicode() == 22 || key.unicode() == 24)) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    // 6. The keypad's decimal key types the locale's separator.
    if (FExcelStyleDecimalSeparator && (key == QLatin1Char('.') || key == QLatin1Char(',')) && (Message.LParam & 0x400000))
        key = ds();
    // 7. Backspace stops at the prefix.
    if (key.unicode() == 8 && !FPrefix.isEmpty() && caret <= valueStart() && selLength == 0)
        return;
    // 8. A full integer part takes no more digits before the separator.
    if (FLengthLimit > 0 && IntegerPartEnd(text) > FLengthLimit && selLength == 0 && caret < DecimalSeparatorPos() &&
        key.unicode() != 8 && key != ds() && !IsSignKey(key))
        return;
    // 9. Backspace deletes.
    if (key.unicode() == 8) {
        QString expected = text;
        const int at = caret - valueStart();
        if (selLength > 0)
            expected.remove(at, selLength);
        else if (at > 0)
            expected.remove(at - 1, 1);
        TCustomMaskEdit::Dispatch(Message);
        const QString now = Text();
        if (now.isEmpty() && !expected.isEmpty())
            Change();
        if (now != text) {
            SetModifiedFlag(true);
            if (FEditType == etMoney && !now.isEmpty() && now != QLatin1String("-"))
                ApplyThousandSeparators();
        }
        return;
    }
    if (key.unicode() == 10)
        return;
    if (key == QLatin1Char('-') && isNumericType(FEditType) && !FSigned)
        return;

    const char16_t k = key.unicode();
    const bool passKey = k == 9 || k == 13;
    switch (FEditType) {
    case etString:
    case etPassword:
        accept();
        break;
    case etNumeric:
        if (key == QLatin1Char('-')) {
            if (toggleSign())
                SetModifiedFlag(true);
        } else if (passKey || isDigit(key) || ctrl) {
            accept();
        }
        break;
    case etFloat:
    case etMoney: {
        const bool money = FEditType == etMoney;
        if (!money) {
            if (key == QLatin1Char(',') && ds() != key && ts() != key)
                return;
            if (key == QLatin1Char('.') && ds() != key && ts() != key)
                return;
            if (!(passKey || isDigit(key) || key == QLatin1Char(',') || key == QLatin1Char('-') || key == QLatin1Char('.')))
                return;
        }
        const QString selected = SelText();
        // (a) A second decimal separator moves the caret after the first.
        if (key == ds() && (money || !selected.contains(ds())) && (text.contains(ds()) || FPrecision == 0)) {
            if (FPrecision > 0) {
                if (money && selLength > 0 && selLength == text.size()) {
                    SetText(QStringLiteral("0,0"));
                    text = Text();
                }
                const int d = int(text.indexOf(ds()));
                if (d >= 0) {
                    SetSelStart(valueStart() + d + 1);
                    SetSelLength(0);
                }
            }
            return;
        }
        if (money && !(passKey || isDigit(key) || key == QLatin1Char('-') || key == ds()))
            return;
        // (b) One comma only.
        if (!money && key == QLatin1Char(',') && text.contains(key) && !selected.contains(key) && ts() != key)
            return;
        // (c) Separators only where the groups of three allow.
        if ((key == ts() || key == ds()) && ThousandGroupMisplaced(text, caret))
            return;
        // (d) Full decimals: a digit overwrites the next one; none goes past the end.
        if ((isDigit(key) || key == ds()) && DecimalsFull(text, caret) && selLength == 0 && FPrecision >= 1 &&
            caret - valueStart() > int(text.indexOf(ds()))) {
            if (key == ds() || caret >= valueEnd())
                return;
            SetSelStart(caret);
            SetSelLength(1);
        }
        // (e) A separator typed first gets its leading zero.
        if (key == ds() && caret <= valueStart() && text.isEmpty()) {
            setValueText(QStringLiteral("0") + ds());
            SetSelStart(valueStart() + 2);
            SetSelLength(0);
            SetModifiedFlag(true);
            return;
        }
        // (f) '-' toggles the sign, or replaces a selection.
        if (key == QLatin1Char('-') && selLength == 0) {
            const int16_t precision = FPrecision;
            FPrecision = 0;
            const bool put = toggleSign();
            FPrecision = precision;
            if (put)
                SetModifiedFlag(true);
            return;
        }
        accept();
        if (money) {
            const QString now = Text();
            if (!now.isEmpty() && now != QLatin1String("-") && key != ds()) {
                if (Modified())
                    SetModifiedFlag(true);
                ApplyThousandSeparators();
            }
        }
        break;
    }
    case etUppercase:
        key = AnsiUpperCase(QString(key)).at(0);
        accept();
        break;
    case etLowerCase:
        key = AnsiLowerCase(QString(key)).at(0);
        accept();
        break;
    case etMixedCase: {
        accept();
        const int at = SelStart();
        setValueText(MixedCaseText(Text()));
        SetSelStart(at);
        SetSelLength(0);
        break;
    }
    case etRange:
        if (!(passKey || isDigit(key) || IsRangeSeparator(key)))
            return;
        if (IsRangeSeparator(key)) {
            const QString window = EditText();
            if (caret <= valueStart())
                return;
            if (caret > 0 && IsRangeSeparator(window[caret - 1]))
                return;
            if (caret + selLength < window.size() && IsRangeSeparator(window[caret + selLength]))
                return;
        }
        accept();
        break;
    case etHex:
        if (passKey || key == QLatin1Char('-') || isDigit(key) || (k >= 'A' && k <= 'F') || (k >= 'a' && k <= 'f'))
            accept();
        break;
    case etAlphaNumeric:
        if (passKey || (k < 128 && isAsciiLetterOrDigit(key)))
            accept();
        break;
    case etValidChars:
        if (FValidChars.contains(key))
            accept();
        break;
    }
}

// ---- keys, mouse and focus

bool TProCustomDropDown::typedKeyDown(TMessage &Message)
{
    const Word key = Message.CharCode();
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const int start = SelStart(), end = start + SelLength();
    const int lo = valueStart(), hi = valueEnd();
    if (!FSuffix.isEmpty() && key == VK_RIGHT && end >= hi && !shift)
        return true;
    if (!FSuffix.isEmpty() && key == VK_RIGHT && shift && end >= hi)
        return true;
    if (!FSuffix.isEmpty() && key == VK_DELETE) {
        if (end >= hi && SelLength() == 0)
            return true;
        SetModifiedFlag(true);
    }
    if (!FPrefix.isEmpty() && key == VK_LEFT && end <= lo)
        return true;
    if (!FPrefix.isEmpty() && key == VK_LEFT && SelLength() == 0 && start <= lo)
        return true;
    if (!FSuffix.isEmpty() && key == VK_END) {
        if (shift) {
            SetSelStart(start);
            SetSelLength(hi - start);
        } else {
            SetSelStart(hi);
            SetSelLength(0);
        }
        return true;
    }
    if (!FPrefix.isEmpty() && key == VK_HOME) {
        if (shift) {
            // From the value's end back to its start: the caret ends at the start.
            SetSelStart(lo);
            SetSelLength(hi - lo);
        } else {
            SetSelStart(lo);
            SetSelLength(0);
        }
        return true;
    }
    if (!FPrefix.isEmpty() && key == VK_BACK)
        SetModifiedFlag(true);
    if (key == VK_DELETE && start >= lo && GetKeyState(VK_SHIFT) >= 0) {
        QString rest = Text();
        if (SelLength() > 0)
            rest.remove(start - lo, SelLength());
        else
            rest.remove(start - lo, 1);
        if (FLengthLimit > 0 && IntegerPartEnd(rest) - 1 > FLengthLimit)
            return true;
        SetModifiedFlag(true);
    }
    return false;
}

void TProCustomDropDown::typedKeyDownAfter(Word Key)
{
    if (Key == VK_DELETE && FEditType == etMoney)
        ApplyThousandSeparators();
    if (!FPrefix.isEmpty() && SelStart() < valueStart()) {
        const int end = SelStart() + SelLength();
        SetSelStart(valueStart());
        SetSelLength(std::max(0, end - valueStart()));
    }
}

void TProCustomDropDown::typedMouseUp()
{
    if (!FPrefix.isEmpty() && SelStart() < valueStart()) {
        SelectAll();
        return;
    }
    if (FSuffix.isEmpty())
        return;
    const int hi = valueEnd();
    if (SelStart() > hi) {
        SetSelStart(hi);
        SetSelLength(0);
    } else if (SelStart() + SelLength() > hi) {
        const int s = SelStart();
        SetSelStart(s);
        SetSelLength(hi - s);
    }
}

void TProCustomDropDown::wmKillFocusTyped()
{
    if (isLoading())
        return;
    const bool modified = FIsModified;
    const bool empty = Text().isEmpty();
    if ((FEditType == etFloat || FEditType == etMoney) && FPrecision > 0 && (!empty || !FAllowNumericNullValue)) {
        SetFloatValue(GetFloatValue());
        SetModifiedFlag(modified);
    } else if (FEditType == etNumeric && empty && !FAllowNumericNullValue) {
        SetText(QStringLiteral("0"));
        SetModifiedFlag(modified);
    } else if ((FEditType == etFloat || FEditType == etMoney) && empty && !FAllowNumericNullValue) {
        SetFloatValue(0);
    }
}

// ---- clipboard

void TProCustomDropDown::wmCopy(TMessage &Message)
{
    if (!FBlockCopy && OnClipboardCopy) {
        clampSelection();
        bool allow = true;
        OnClipboardCopy(this, SelText(), allow);
        if (!allow)
            return;
    }
    TCustomMaskEdit::Dispatch(Message);
}

void TProCustomDropDown::wmCut(TMessage &Message)
{
    if (!FEditorEnabled || ReadOnly())
        return;
    clampSelection();
    FBlockCopy = true;
    bool allow = true;
    if (OnClipboardCut)
        OnClipboardCut(this, SelText(), allow);
    if (allow)
        TCustomMaskEdit::Dispatch(Message);
    FBlockCopy = false;
    if (allow && SelLength() == 0)
        SetModifiedFlag(true);
}

void TProCustomDropDown::wmPaste(TMessage &)
{
    if (ReadOnly() || !Clipboard()->HasFormat(CF_TEXT))
        return;
    const QString clip = Clipboard()->AsText();
    clampSelection();
    const QString text = Text();
    const int at = SelStart() - valueStart();
    const int selLength = SelLength();
    QString result = text;
    result.replace(at, selLength, clip);
    bool allow = true;
    if (OnClipboardPaste)
        OnClipboardPaste(this, result, allow);
    if (!allow)
        return;
    if (MaxLength() > 0 && clip.size() + text.size() - selLength > MaxLength())
        return;
    // A sign stands only in front of a number.
    const bool signInFront = result.lastIndexOf(QLatin1Char('-')) <= 0;
    switch (FEditType) {
    case etString:
    case etPassword:
        SetText(result);
        break;
    case etNumeric:
        if (NumericKind(result) != 0 || (result.contains(QLatin1Char('-')) && !FSigned) || !signInFront ||
            !isPlainNumber(result, true))
            return;
        SetText(result);
        SetModifiedFlag(true);
        break;
    case etFloat:
    case etMoney: {
        const int kind = NumericKind(result);
        if (kind == 2 || kind == 5 || (FPrecision == 0 && clip.contains(ds())))
            return;
        if (!signInFront || !isPlainNumber(result, false))
            return;
        if (!FSigned && result.contains(QLatin1Char('-')))
            return;
        // Beyond 15 digits the value would no longer be written out in full.
        if (std::fabs(StrToFloatEx(result)) >= 1e15)
            return;
        SetText(result);
        SetFloatValue(GetFloatValue());
        SetModifiedFlag(true);
        break;
    }
    case etUppercase:
        SetText(AnsiUpperCase(result));
        break;
    case etLowerCase:
        SetText(AnsiLowerCase(result));
        break;
    case etMixedCase:
        SetText(MixedCaseText(result));
        break;
    case etAlphaNumeric:
        if (!std::all_of(result.begin(), result.end(), [](QChar c) { return c.unicode() < 128 && isAsciiLetterOrDigit(c); }))
            return;
        SetText(result);
        SetModifiedFlag(true);
        break;
    case etValidChars:
        if (!std::all_of(result.begin(), result.end(), [this](QChar c) { return FValidChars.contains(c); }))
            return;
        SetText(result);
        SetModifiedFlag(true);
        break;
    case etRange:
    case etHex:
        return;
    }
    if (FEditType == etMoney && Text().size() > 3) {
        SelectAll();
    } else if (selLength > 0) {
        SetSelStart(valueStart() + at);
        SetSelLength(int(clip.size()));
    } else {
        SetSelStart(valueStart() + at + int(clip.size()));
        SetSelLength(0);
    }
    switch (FEditType) {
    case etString: case etUppercase: case etMixedCase: case etLowerCase: case etPassword:
        SetModifiedFlag(true);
        break;
    default:
        break;
    }
}
