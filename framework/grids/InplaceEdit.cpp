// TInplaceEdit: the grid's cell editor over a QLineEdit.
#include "framework/grids/Grids.h"
#include <QLineEdit>

QString EditMaskToInputMask(const QString &DelphiMask)
{
    // Split "mask;save literals;blank" at unescaped semicolons.
    QStringList parts{QString()};
    for (int i = 0; i < DelphiMask.size(); ++i) {
        const QChar ch = DelphiMask[i];
        if (ch == u'\\' && i + 1 < DelphiMask.size()) {
            parts.back() += ch;
            parts.back() += DelphiMask[++i];
        } else if (ch == u';' && parts.size() < 3) {
            parts.append(QString());
        } else {
            parts.back() += ch;
        }
    }
    const QString &mask = parts[0];
    if (mask.isEmpty())
        return QString();
    const QChar blank = parts.size() > 2 && !parts[2].isEmpty() ? parts[2][0] : QChar(u'_');
    static const QString qtSpecial = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}");
    QString out;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar ch = mask[i];
        switch (ch.unicode()) {
        case '0': out += u'9'; break;        // digit required
        case '9': out += u'0'; break;        // digit optional
        case '#': out += u'#'; break;        // digit or sign, optional
        case 'L': out += u'A'; break;        // letter required
        case 'l': out += u'a'; break;        // letter optional
        case 'A': out += u'N'; break;        // letter or digit required
        case 'a': out += u'n'; break;        // letter or digit optional
        case 'C': out += u'X'; break;        // any character required
        case 'c': out += u'x'; break;        // any character optional
        case '>': out += u'>'; break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                out += u'!';
                ++i;
            } else {
                out += u'<';
            }
            break;
        case '!': break;                     // blank trimming has no counterpart
        case '_': out += u' '; break;        // a blank in the text
        case '\\':
            if (i + 1 < mask.size()) {
                const QChar lit = mask[++i];
                if (qtSpecial.contains(lit))
                    out += u'\\';
                out += lit;
            }
            break;
        default:
            if (qtSpecial.contains(ch))
                out += u'\\';
            out += ch;
        }
    }
    return out + u';' + blank;
}

TInplaceEdit::TInplaceEdit(TComponent *AOwner) : TWinControl(AOwner, new QLineEdit)
{
    grid_ = dynamic_cast<TCustomGrid *>(AOwner);
    edit()->setFrame(false);
    QObject::connect(edit(), &QLineEdit::textEdited, edit(), [this] { modified_ = true; });
    SetTabStop(false);
    InitVisible(false);
    widget_->setFocusPolicy(Qt::StrongFocus);
}

TInplaceEdit::~TInplaceEdit()
{
    DetachBridge();
    if (grid_ && grid_->FInplaceEdit == this)
        grid_->FInplaceEdit = nullptr;
}

QLineEdit *TInplaceEdit::edit() const
{
    return static_cast<QLineEdit *>(widget_.data());
}

QString TInplaceEdit::Text() const
{
    return edit()->text();
}

void TInplaceEdit::SetText(const QString &v)
{
    edit()->setText(v);
    modified_ = false;
}

int TInplaceEdit::SelStart() const
{
    return edit()->hasSelectedText() ? edit()->selectionStart() : edit()->cursorPosition();
}

void TInplaceEdit::SetSelStart(int v)
{
    edit()->setCursorPosition(v);
}

int TInplaceEdit::SelLength() const
{
    return edit()->hasSelectedText() ? edit()->selectionLength() : 0;
}

void TInplaceEdit::SetSelLength(int v)
{
    edit()->setSelection(SelStart(), v);
}

void TInplaceEdit::SelectAll()
{
    edit()->selectAll();
}

void TInplaceEdit::SetMaxLength(int v)
{
    maxLength_ = std::max(v, 0);
    edit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TInplaceEdit::SetEditMask(const QString &v)
{
    if (v == editMask_)
        return;
    editMask_ = v;
    edit()->setInputMask(EditMaskToInputMask(v));
}

void TInplaceEdit::SetPasswordMode(bool v)
{
    passwordMode_ = v;
    edit()->setEchoMode(v ? QLineEdit::Password : QLineEdit::Normal);
}

void TInplaceEdit::SetAlignment(TAlignment v)
{
    alignment_ = v;
    const Qt::Alignment h = v == taRightJustify ? Qt::AlignRight : v == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    edit()->setAlignment(h | Qt::AlignVCenter);
}

void TInplaceEdit::UpdateLoc(const TRect &Loc)
{
    if (Loc.IsEmpty()) {
        // Scrolled out of view: the edit stays open and comes back with its cell.
        SetVisible(false);
        return;
    }
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    SetVisible(true);
}

void TInplaceEdit::UpdateContents()
{
    if (!grid_)
        return;
    const TGridCoord c = grid_->editCell_;
    SetEditMask(grid_->GetEditMask(c.X, c.Y));
    SetMaxLength(grid_->GetEditLimit());
    SetText(grid_->GetEditText(c.X, c.Y));
    edit()->setReadOnly(!grid_->CanEditModify());
    SelectAll();
}

LRESULT TInplaceEdit::GetDlgCode() const
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    if (grid_ && grid_->Options().Contains(goTabs))
        code |= DLGC_WANTTAB;
    return code;
}

void TInplaceEdit::KeyDown(Word &Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if (!grid_ || Key == 0)
        return;
    switch (Key) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
        grid_->KeyDown(Key, Shift);
        Key = 0;
        break;
    case VK_TAB:
        if (grid_->Options().Contains(goTabs)) {
            grid_->KeyDown(Key, Shift);
            Key = 0;
        }
        break;
    default:
        break;
    }
}

void TInplaceEdit::KeyPress(QChar &Key)
{
    TWinControl::KeyPress(Key);
    if (!grid_ || Key.isNull())
        return;
    if (Key == QChar('\r')) {
        grid_->KeyPress(Key);
        Key = QChar();
    } else if (Key.unicode() == 27) {
        // Esc drops the typing: the cell keeps its text.
        grid_->closeEditor(false);
        Key = QChar();
    } else if (Key.unicode() >= 32 && !grid_->CanEditAcceptKey(Key)) {
        Key = QChar();
    }
}
