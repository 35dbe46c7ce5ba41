// TInplaceEdit: the grid's cell editor, a QLineEdit for one line or a QPlainTextEdit for
// several; switching the mode replaces the widget.
#include "framework/grids/Grids.h"
#include "framework/controls/ControlBridge.h"
#include "framework/rtl/SysUtils.h"
#include <QAbstractTextDocumentLayout>
#include <algorithm>
#include <climits>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

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
    line_ = static_cast<QLineEdit *>(widget_.data());
    configure();
    SetTabStop(false);
    InitVisible(false);
}

TInplaceEdit::~TInplaceEdit()
{
    DetachBridge();
    if (grid_ && grid_->FInplaceEdit == this)
        grid_->FInplaceEdit = nullptr;
}

QWidget *TInplaceEdit::makeWidget()
{
    if (IsMultiLine()) {
        auto *m = new QPlainTextEdit;
        m->setFrameShape(QFrame::NoFrame);
        m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m->setTabChangesFocus(true);
        m->document()->setDocumentMargin(2);
        m->viewport()->setMouseTracking(true);
        m->viewport()->setAttribute(Qt::WA_NoMousePropagation);
        bridge_->Watch(m->viewport());
        return m;
    }
    return new QLineEdit;
}

// Settings that the widget itself keeps; run on every new widget.
void TInplaceEdit::configure()
{
    widget_->setFocusPolicy(Qt::StrongFocus);
    widget_->setAcceptDrops(false);
    widget_->setContextMenuPolicy(Qt::NoContextMenu);
    const bool wasLoading = loading_;
    loading_ = true;
    if (line_) {
        line_->setFrame(false);
        line_->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
        line_->setInputMask(EditMaskToInputMask(editMask_));
        line_->setEchoMode(passwordMode_ ? QLineEdit::Password : QLineEdit::Normal);
        line_->setReadOnly(readOnly_);
        QObject::connect(line_, &QLineEdit::textChanged, SignalContext(), [this] { textChanged(); });
    } else {
        memo_->setReadOnly(readOnly_);
        memo_->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        QObject::connect(memo_, &QPlainTextEdit::textChanged, SignalContext(), [this] { textChanged(); });
    }
    applyAlignment();
    loading_ = wasLoading;
}

bool TInplaceEdit::IsMultiLine() const
{
    return multiLine_ && !passwordMode_ && editMask_.isEmpty();
}

// The mode decides the widget; a new one takes over text, selection, place, look and focus.
void TInplaceEdit::rebuildIfNeeded()
{
    if (IsMultiLine() == (memo_ != nullptr))
        return;
    QWidget *old = widget_;
    const QString text = Text();
    const int selStart = SelStart(), selLength = SelLength();
    const bool hadFocus = old->hasFocus();
    const bool shown = !old->isHidden();

    QWidget *w = makeWidget();
    for (const QByteArray &name : old->dynamicPropertyNames())
        w->setProperty(name, old->property(name));
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
    w->setParent(old->parentWidget());
    w->setGeometry(old->geometry());
    w->setFont(old->font());
    w->setPalette(old->palette());
    w->setEnabled(old->isEnabled());
    bridge_->Watch(w);

    old->removeEventFilter(bridge_.get());
    QObject::disconnect(old, nullptr, SignalContext(), nullptr);
    for (const QByteArray &name : old->dynamicPropertyNames())
        old->setProperty(name, QVariant());
    old->hide();

    widget_ = w;
    line_ = qobject_cast<QLineEdit *>(w);
    memo_ = qobject_cast<QPlainTextEdit *>(w);
    configure();
    const bool wasModified = modified_;
    SetText(text);
    modified_ = wasModified;
    SetSelStart(selStart);
    SetSelLength(selLength);
    w->setVisible(shown);
    if (hadFocus)
        w->setFocus(Qt::OtherFocusReason);
    // The old widget may be the one whose event is being handled right now.
    if (old->parentWidget())
        old->deleteLater();
    else
        delete old;
}

int TInplaceEdit::toTextPos(int docPos) const
{
    if (!memo_)
        return docPos;
    const QString doc = memo_->toPlainText();
    docPos = std::clamp(docPos, 0, int(doc.size()));
    return docPos + int(QStringView(doc).left(docPos).count(QLatin1Char('\n')));
}

// A position between CR and LF falls before the break.
int TInplaceEdit::toDocPos(int textPos) const
{
    if (!memo_)
        return textPos;
    const QString doc = memo_->toPlainText();
    int t = 0;
    for (int i = 0; i < doc.size(); ++i) {
        const int step = doc[i] == QLatin1Char('\n') ? 2 : 1;
        if (t + step > textPos)
            return i;
        t += step;
    }
    return int(doc.size());
}

QString TInplaceEdit::Text() const
{
    if (memo_)
        return memo_->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return line_->text();
}

void TInplaceEdit::SetText(const QString &v)
{
    loading_ = true;
    if (memo_)
        memo_->setPlainText(LfLineBreaks(v));
    else
        line_->setText(v);
    loading_ = false;
    modified_ = false;
}

void TInplaceEdit::textChanged()
{
    if (!loading_)
        modified_ = true;
    Change();
}

int TInplaceEdit::SelStart() const
{
    if (memo_)
        return toTextPos(memo_->textCursor().selectionStart());
    return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
}

void TInplaceEdit::SetSelStart(int v)
{
    if (memo_) {
        QTextCursor c = memo_->textCursor();
        c.setPosition(toDocPos(std::max(v, 0)));
        memo_->setTextCursor(c);
    } else {
        line_->setCursorPosition(v);
    }
}

int TInplaceEdit::SelLength() const
{
    if (memo_) {
        const QTextCursor c = memo_->textCursor();
        return toTextPos(c.selectionEnd()) - toTextPos(c.selectionStart());
    }
    return line_->hasSelectedText() ? line_->selectionLength() : 0;
}

void TInplaceEdit::SetSelLength(int v)
{
    const int start = SelStart();
    if (memo_) {
        QTextCursor c = memo_->textCursor();
        c.setPosition(toDocPos(start));
        c.setPosition(toDocPos(start + std::max(v, 0)), QTextCursor::KeepAnchor);
        memo_->setTextCursor(c);
    } else {
        line_->setSelection(start, v);
    }
}

QString TInplaceEdit::SelText() const
{
    return Text().mid(SelStart(), SelLength());
}

void TInplaceEdit::SetSelText(const QString &v)
{
    if (readOnly_)
        return;
    insertTyped(IsMultiLine() ? LfLineBreaks(v) : v);
}

void TInplaceEdit::SelectAll()
{
    if (memo_)
        memo_->selectAll();
    else
        line_->selectAll();
}

// Characters that still fit: the limit less the text outside the selection.
int TInplaceEdit::roomLeft() const
{
    if (maxLength_ <= 0)
        return INT_MAX;
    return std::max(0, maxLength_ - (int(Text().size()) - SelLength()));
}

void TInplaceEdit::insertTyped(QString s)
{
    int room = roomLeft();
    int cut = 0;
    for (; cut < s.size(); ++cut) {
        const int need = memo_ && s[cut] == QLatin1Char('\n') ? 2 : 1;
        if (need > room)
            break;
        room -= need;
    }
    s.truncate(cut);
    if (memo_)
        memo_->textCursor().insertText(s);
    else
        line_->insert(s);
}

void TInplaceEdit::SetMaxLength(int v)
{
    maxLength_ = std::max(v, 0);
    if (line_)
        line_->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TInplaceEdit::SetReadOnly(bool v)
{
    readOnly_ = v;
    if (line_)
        line_->setReadOnly(v);
    else
        memo_->setReadOnly(v);
}

void TInplaceEdit::SetEditMask(const QString &v)
{
    if (v == editMask_)
        return;
    editMask_ = v;
    rebuildIfNeeded();
    if (line_)
        line_->setInputMask(EditMaskToInputMask(v));
}

void TInplaceEdit::SetPasswordMode(bool v)
{
    passwordMode_ = v;
    rebuildIfNeeded();
    if (line_)
        line_->setEchoMode(v ? QLineEdit::Password : QLineEdit::Normal);
}

void TInplaceEdit::SetMultiLine(bool v)
{
    multiLine_ = v;
    rebuildIfNeeded();
}

void TInplaceEdit::SetWordWrap(bool v)
{
    wordWrap_ = v;
    if (memo_)
        memo_->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TInplaceEdit::SetAlignment(TAlignment v)
{
    alignment_ = v;
    applyAlignment();
}

void TInplaceEdit::applyAlignment()
{
    const Qt::Alignment h = alignment_ == taRightJustify ? Qt::AlignRight
                            : alignment_ == taCenter     ? Qt::AlignHCenter
                                                         : Qt::AlignLeft;
    if (line_) {
        line_->setAlignment(h | Qt::AlignVCenter);
    } else {
        QTextOption o = memo_->document()->defaultTextOption();
        o.setAlignment(h);
        memo_->document()->setDefaultTextOption(o);
    }
}

int TInplaceEdit::ColorRole() const
{
    return QPalette::Base;
}

int TInplaceEdit::LineCount() const
{
    if (!memo_)
        return 1;
    QTextDocument *doc = memo_->document();
    int n = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        doc->documentLayout()->blockBoundingRect(b);  // lays the block out
        n += std::max(1, b.layout()->lineCount());
    }
    return n;
}

int TInplaceEdit::LineFromChar(int CharIndex) const
{
    if (!memo_)
        return 0;
    QTextDocument *doc = memo_->document();
    const int pos = toDocPos(std::max(CharIndex, 0));
    int n = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        doc->documentLayout()->blockBoundingRect(b);
        const int lines = std::max(1, b.layout()->lineCount());
        if (pos <= b.position() + b.length() - 1 || !b.next().isValid()) {
            const int in = b.layout()->lineCount() > 0 ? b.layout()->lineForTextPosition(pos - b.position()).lineNumber() : 0;
            return n + std::max(in, 0);
        }
        n += lines;
    }
    return n;
}

int TInplaceEdit::CharFromPos(TPoint P) const
{
    const QPoint p(P.X, P.Y);
    if (memo_) {
        if (!memo_->viewport()->rect().contains(p))
            return -1;
        return toTextPos(memo_->cursorForPosition(p).position());
    }
    if (!line_->rect().contains(p))
        return -1;
    return line_->cursorPositionAt(p);
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
    SetReadOnly(!grid_->CanEditModify());
    SelectAll();
}

LRESULT TInplaceEdit::GetDlgCode() const
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    if (grid_ && grid_->Options().Contains(goTabs))
        code |= DLGC_WANTTAB;
    return code;
}

void TInplaceEdit::WndProc(TMessage &Message)
{
    // Ctrl+Enter types a line feed, as it does in the edit controls of the platform.
    if (Message.Msg == WM_CHAR && Message.WParam == 13 && GetKeyState(VK_CONTROL) < 0)
        Message.WParam = 10;
    TWinControl::WndProc(Message);
}

// The widget's own editing, with the clipboard keys, line breaks and the length limit made
// to act as the platform's edit controls do.
void TInplaceEdit::DefaultHandler(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN: {
        const TShiftState s = GetShiftState();
        const bool shift = s.Contains(ssShift), ctrl = s.Contains(ssCtrl);
        if (Message.CharCode() == VK_INSERT && shift && !ctrl)
            Perform(WM_PASTE);
        else if (Message.CharCode() == VK_INSERT && ctrl && !shift)
            Perform(WM_COPY);
        else if (Message.CharCode() == VK_DELETE && shift && !ctrl)
            Perform(WM_CUT);
        else
            TWinControl::DefaultHandler(Message);
        return;
    }
    case WM_CHAR: {
        const QChar ch(Message.CharCode());
        switch (ch.unicode()) {
        case 3: Perform(WM_COPY); return;
        case 22: Perform(WM_PASTE); return;
        case 24: Perform(WM_CUT); return;
        case 26: Perform(WM_UNDO); return;
        case 10: case 13:
            if (IsMultiLine() && !readOnly_)
                insertTyped(QStringLiteral("\n"));
            return;
        default:
            break;
        }
        if (memo_ && ch.unicode() >= 32 && !readOnly_ && roomLeft() < 1)
            return;  // full
        TWinControl::DefaultHandler(Message);
        return;
    }
    case WM_COPY:
    case WM_CUT:
        // A password never leaves the editor.
        if (passwordMode_ || SelLength() == 0)
            return;
        QGuiApplication::clipboard()->setText(SelText());
        if (Message.Msg == WM_CUT && !readOnly_)
            insertTyped(QString());
        return;
    case WM_PASTE: {
        if (readOnly_)
            return;
        QString s = LfLineBreaks(QGuiApplication::clipboard()->text());
        if (!IsMultiLine()) {
            // One line takes the clipboard's first line only.
            const qsizetype br = s.indexOf(QLatin1Char('\n'));
            if (br >= 0)
                s.truncate(br);
        }
        if (!s.isEmpty())
            insertTyped(s);
        return;
    }
    case WM_CLEAR:
        if (!readOnly_)
            insertTyped(QString());
        return;
    case WM_UNDO:
        if (readOnly_)
            return;
        if (memo_)
            memo_->undo();
        else
            line_->undo();
        return;
    default:
        TWinControl::DefaultHandler(Message);
    }
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
    } else if (Key == QChar('\n')) {
        // Ctrl+Enter: a line break where there are lines, nothing otherwise.
        if (!IsMultiLine())
            Key = QChar();
    } else if (Key.unicode() == 27) {
        // Esc drops the typing: the cell keeps its text.
        grid_->closeEditor(false);
        Key = QChar();
    } else if (Key.unicode() >= 32 && !grid_->CanEditAcceptKey(Key)) {
        Key = QChar();
    }
}
