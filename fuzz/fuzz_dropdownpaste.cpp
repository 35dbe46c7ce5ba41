// Pasting into a typed drop-down edit: the input's first byte picks the edit type, decimals, sign,
// prefix and suffix and the locale's separators; the rest (UTF-8) is the clipboard's text. A
// paste never raises and never touches the prefix or suffix; what a numeric edit takes is a number
// of its kind, and a float or money value already stands as its own formatting would write it.
#include "editors/ProDropDown.h"
#include "framework/controls/Messages.h"
#include "framework/os/Clipbrd.h"
#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCommon.h"

#include <memory>

namespace {

class TPasteEdit : public TProCustomDropDown
{
public:
    using TProCustomDropDown::TProCustomDropDown;
    using TProCustomDropDown::SetEditType;
    using TProCustomDropDown::SetPrecision;
    using TProCustomDropDown::SetPrefix;
    using TProCustomDropDown::SetSuffix;
    using TProCustomDropDown::SetSigned;
};

const TDropDownEditType kTypes[] = {etString, etNumeric, etFloat, etMoney, etUppercase, etMixedCase,
                                    etAlphaNumeric, etHex};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 1)
        return 0;
    const uint8_t opt = Data[0];
    const QString clip = QString::fromUtf8(reinterpret_cast<const char *>(Data + 1), qsizetype(Size - 1));

    const TFormatSettings saved = FormatSettings;
    if (opt & 0x80) {
        FormatSettings.DecimalSeparator = QLatin1Char(',');
        FormatSettings.ThousandSeparator = QLatin1Char('.');
    }
    // Pure routines first: they never raise.
    (void)TProCustomDropDown::NumericKind(clip);
    (void)TProCustomDropDown::StrToFloatEx(clip);
    (void)TProCustomDropDown::HexToInt(clip);

    std::unique_ptr<TPasteEdit> edit(NewDropDown<TPasteEdit>(nullptr));
    const TDropDownEditType type = kTypes[opt & 7];
    const QString prefix = (opt & 0x08) ? QStringLiteral("$") : QString();
    const QString suffix = (opt & 0x10) ? QStringLiteral(" %") : QString();
    edit->SetPrefix(prefix);
    edit->SetSuffix(suffix);
    edit->SetSigned(opt & 0x20);
    edit->SetEditType(type);
    edit->SetPrecision((opt & 0x40) ? 2 : 0);
    edit->SetText(QStringLiteral("12"));
    const QString before = edit->Text();
    edit->SetSelStart(prefix.size() + ((opt & 0x20) ? 0 : 1));
    edit->SetSelLength((opt & 0x40) ? 1 : 0);

    Clipboard()->SetAsText(clip);
    edit->Perform(WM_PASTE);

    const QString window = edit->EditText();
    FUZZ_CHECK(window.startsWith(prefix) && window.endsWith(suffix), window);
    const QString after = edit->Text();
    if (after != before) {
        if (type == etNumeric)
            FUZZ_CHECK(TProCustomDropDown::NumericKind(after) == 0, after);
        if (type == etFloat || type == etMoney) {
            FUZZ_CHECK(TProCustomDropDown::NumericKind(after) <= 1, after);
            // A second formatting leaves the value as it stands.
            edit->SetFloatValue(edit->GetFloatValue());
            FUZZ_CHECK(edit->Text() == after, after + QStringLiteral(" -> ") + edit->Text());
        }
        if (type == etHex)
            FuzzFail("a paste into a hexadecimal edit", after);
    }
    FormatSettings = saved;
    return 0;
}
