#include "framework/controls/Mask.h"
#include <QLineEdit>

TEditMaskInfo TranslateEditMask(const QString &EditMask)
{
    TEditMaskInfo info;
    if (EditMask.isEmpty())
        return info;
    // The last two ';' fields are the save-literals flag and the blank; a '\;' is a literal.
    QString mask = EditMask;
    QStringList fields;
    for (int k = 0; k < 2; ++k) {
        const int semi = mask.lastIndexOf(QLatin1Char(';'));
        if (semi < 0 || (semi > 0 && mask[semi - 1] == QLatin1Char('\\')))
            break;
        fields.prepend(mask.mid(semi + 1));
        mask.truncate(semi);
    }
    if (fields.size() >= 1 && !fields[0].isEmpty())
        info.SaveLiterals = fields[0][0] != QLatin1Char('0');
    if (fields.size() >= 2 && !fields[1].isEmpty())
        info.Blank = fields[1][0];

    static const QString qtSpecial = QStringLiteral("AaNnXx90Dd#HhBb><!\\;[]{}");
    QString out;
    auto literal = [&](QChar c) {
        if (qtSpecial.contains(c))
            out += QLatin1Char('\\');
        out += c;
        info.Literal.push_back(true);
    };
    auto field = [&](char q) {
        out += QLatin1Char(q);
        info.Literal.push_back(false);
    };
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '!': break;  // leading blanks for optional positions: Qt has no such mode
        case '>': out += QLatin1Char('>'); break;
        case '<':
            // "<>" ends case conversion.
            if (i + 1 < mask.size() && mask[i + 1] == QLatin1Char('>')) {
                out += QLatin1Char('!');
                ++i;
            } else {
                out += QLatin1Char('<');
            }
            break;
        case '\\':
            if (i + 1 < mask.size())
                literal(mask[++i]);
            break;
        case 'L': field('A'); break;
        case 'l': field('a'); break;
        case 'A': field('N'); break;
        case 'a': field('n'); break;
        case 'C': field('X'); break;
        case 'c': field('x'); break;
        case '0': field('9'); break;
        case '9': field('0'); break;
        case '#': field('#'); break;
        case '_': literal(QLatin1Char(' ')); break;
        default: literal(c); break;
        }
    }
    info.QtMask = out + QLatin1Char(';') + info.Blank;
    return info;
}

TCustomMaskEdit::TCustomMaskEdit(TComponent *AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const QString &v)
{
    editMask_ = v;
    info_ = TranslateEditMask(v);
    edit()->setInputMask(info_.QtMask.isEmpty() ? QString() : info_.QtMask);
}

QString TCustomMaskEdit::EditText() const
{
    return edit()->displayText();
}

void TCustomMaskEdit::SetEditText(const QString &v)
{
    edit()->setText(v);
}

QString TCustomMaskEdit::GetText() const
{
    if (!IsMasked())
        return TCustomEdit::GetText();
    // Saved literals mean the text is the edit text as shown, blank places included.
    const QString shown = edit()->displayText();
    if (info_.SaveLiterals)
        return shown;
    QString r;
    for (int i = 0; i < shown.size(); ++i) {
        const bool lit = i < static_cast<int>(info_.Literal.size()) && info_.Literal[static_cast<size_t>(i)];
        if (!lit && shown[i] != info_.Blank)
            r += shown[i];
    }
    return r;
}

void TCustomMaskEdit::ValidateEdit()
{
    if (IsMasked() && !edit()->hasAcceptableInput())
        throw EDBEditError(QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
}

void TCustomMaskEdit::CMExit(TMessage &Message)
{
    if (IsMasked() && Modified())
        ValidateEdit();
    TCustomEdit::CMExit(Message);
}
