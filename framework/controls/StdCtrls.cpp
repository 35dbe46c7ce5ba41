#include "framework/controls/StdCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/rtl/SysUtils.h"
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <functional>
#include <utility>

QString StripHotkey(const QString &Caption)
{
    QString r;
    for (int i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == QLatin1Char('&') && i + 1 < Caption.size())
            ++i;
        else if (Caption[i] == QLatin1Char('&'))
            continue;
        r += Caption[i];
    }
    return r;
}

namespace {

[[noreturn]] void listIndexError(int Index)
{
    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

Qt::Alignment qtAlign(TAlignment a)
{
    switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent *AOwner, QAbstractButton *AButton) : TWinControl(AOwner, AButton)
{
    // Their clicks come from the widget's own signal.
    SetControlStyle(ControlStyle() - csClickEvents);
    SetTabStop(true);
}

QAbstractButton *TButtonControl::Button() const { return static_cast<QAbstractButton *>(Widget()); }

QString TButtonControl::GetText() const { return Button()->text(); }

void TButtonControl::ApplyText(const QString &v) { Button()->setText(v); }

TButton::TButton(TComponent *AOwner) : TButtonControl(AOwner, new QPushButton) { init(); }

TButton::TButton(TComponent *AOwner, QPushButton *AButton) : TButtonControl(AOwner, AButton) { init(); }

void TButton::init()
{
    SetBounds(0, 0, 75, 25);
    QObject::connect(Button(), &QAbstractButton::clicked, SignalContext(), [this](bool) { SafeCall(this, [this] { Click(); }); });
}

void TButton::SetDefault(bool v)
{
    default_ = v;
    static_cast<QPushButton *>(Button())->setDefault(v);
}

void TButton::Click()
{
    if (TCustomForm *f = GetParentForm())
        f->SetModalResult(modalResult_);
    TButtonControl::Click();
}

LRESULT TButton::GetDlgCode() const
{
    return 0;
}

bool TButton::isActive() const
{
    // The focused button takes Enter; otherwise the default button does.
    if (Focused())
        return true;
    if (!default_)
        return false;
    TCustomForm *f = GetParentForm();
    return !(f && f->ActiveControl() && dynamic_cast<TButton *>(f->ActiveControl()) && f->ActiveControl()->Focused());
}

void TButton::Dispatch(TMessage &Message)
{
    if (Message.Msg == CM_DIALOGKEY) {
        const Word key = Message.CharCode();
        const TShiftState shift = GetShiftState() * TShiftState{ssShift, ssCtrl, ssAlt};
        if (((key == VK_RETURN && isActive()) || (key == VK_ESCAPE && cancel_)) && shift.Empty() && CanFocus()) {
            Click();
            Message.Result = 1;
        }
        return;
    }
    TButtonControl::Dispatch(Message);
}

TCheckBox::TCheckBox(TComponent *AOwner) : TButtonControl(AOwner, new QCheckBox)
{
    SetBounds(0, 0, 97, 17);
    auto *cb = static_cast<QCheckBox *>(Button());
    QObject::connect(cb, &QCheckBox::stateChanged, SignalContext(), [this, cb](int) {
        if (syncing_)
            return;
        const Qt::CheckState s = cb->checkState();
        SafeCall(this, [this, s] { SetState(s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked); });
    });
}

void TCheckBox::SetState(TCheckBoxState v)
{
    if (v == cbGrayed && !allowGrayed_ && state_ == cbGrayed)
        return;
    if (v == state_)
        return;
    state_ = v;
    auto *cb = static_cast<QCheckBox *>(Button());
    syncing_ = true;
    if (v == cbGrayed)
        cb->setTristate(true);
    cb->setCheckState(v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    syncing_ = false;
    Click();
}

void TCheckBox::SetAllowGrayed(bool v)
{
    allowGrayed_ = v;
    static_cast<QCheckBox *>(Button())->setTristate(v || state_ == cbGrayed);
}

void TCheckBox::SetAlignment(TLeftRight v)
{
    alignment_ = v;
    Button()->setLayoutDirection(v == taLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

TRadioButton::TRadioButton(TComponent *AOwner) : TButtonControl(AOwner, new QRadioButton)
{
    SetBounds(0, 0, 113, 17);
    QObject::connect(Button(), &QAbstractButton::toggled, SignalContext(), [this](bool on) {
        if (syncing_)
            return;
        SafeCall(this, [this, on] { SetChecked(on); });
    });
}

void TRadioButton::SetChecked(bool v)
{
    if (v == checked_)
        return;
    checked_ = v;
    syncing_ = true;
    Button()->setChecked(v);
    syncing_ = false;
    if (!v)
        return;
    if (TWinControl *p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto *r = dynamic_cast<TRadioButton *>(p->Controls(i)); r && r != this)
                r->SetChecked(false);
    Click();
}

void TRadioButton::SetAlignment(TLeftRight v)
{
    alignment_ = v;
    Button()->setLayoutDirection(v == taLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

// ---------------------------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent *AOwner) : TGraphicControl(AOwner, new QLabel)
{
    selfPainted_ = false;
    SetParentColor(true);
    SetBounds(0, 0, 65, 13);
    refresh();
}

QLabel *TLabel::label() const { return static_cast<QLabel *>(Widget()); }

void TLabel::refresh()
{
    QLabel *l = label();
    const QString caption = Caption();
    if (focusControl_ && showAccelChar_) {
        l->setText(caption);
        l->setBuddy(focusControl_->Widget());
    } else {
        l->setBuddy(nullptr);
        l->setText(showAccelChar_ ? StripHotkey(caption) : caption);
    }
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(wordWrap_);
    const Qt::Alignment v = layout_ == tlCenter ? Qt::AlignVCenter : layout_ == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
    l->setAlignment(qtAlign(alignment_) | v);
    l->setAutoFillBackground(!transparent_);
    if (autoSize_) {
        if (wordWrap_)
            SetHeight(std::max(l->heightForWidth(std::max(Width(), 1)), 1));
        else {
            const QSize s = l->sizeHint();
            SetBounds(Left(), Top(), s.width(), s.height());
        }
    }
}

void TLabel::ApplyText(const QString &v)
{
    SetTextRaw(v);
    refresh();
}

void TLabel::ApplyFont()
{
    TGraphicControl::ApplyFont();
    refresh();
}

void TLabel::SetAutoSize(bool v) { autoSize_ = v; refresh(); }
void TLabel::SetAlignment(TAlignment v) { alignment_ = v; refresh(); }
void TLabel::SetLayout(TTextLayout v) { layout_ = v; refresh(); }
void TLabel::SetWordWrap(bool v) { wordWrap_ = v; refresh(); }
void TLabel::SetTransparent(bool v) { transparent_ = v; refresh(); }
void TLabel::SetShowAccelChar(bool v) { showAccelChar_ = v; refresh(); }

void TLabel::SetFocusControl(TWinControl *v)
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = v;
    if (v)
        v->FreeNotification(this);
    refresh();
}

void TLabel::Notification(TComponent *AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) {
        focusControl_ = nullptr;
        if (!IsDestroying())
            refresh();
    }
}

// ---------------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent *AOwner, QLineEdit *AEdit) : TWinControl(AOwner, AEdit ? AEdit : new QLineEdit)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
    // Like the platform's edit control it takes no dropped text: what reaches the text comes by
    // typing or through the cut and paste messages.
    edit()->setAcceptDrops(false);
    QObject::connect(edit(), &QLineEdit::textChanged, SignalContext(), [this](const QString &) {
        if (converting_)
            return;
        SafeCall(this, [this] {
            if (charCase_ != ecNormal) {
                QLineEdit *e = edit();
                const QString t = e->text();
                const QString c = charCase_ == ecUpperCase ? t.toUpper() : t.toLower();
                if (c != t) {
                    const int pos = e->cursorPosition();
                    converting_ = true;
                    e->setText(c);
                    e->setCursorPosition(pos);
                    converting_ = false;
                }
            }
            Change();
        });
    });
}

QLineEdit *TCustomEdit::edit() const { return static_cast<QLineEdit *>(Widget()); }

QString TCustomEdit::GetText() const { return edit()->text(); }

void TCustomEdit::ApplyText(const QString &v)
{
    edit()->setText(v);
    edit()->setModified(false);
}

int TCustomEdit::ColorRole() const { return QPalette::Base; }

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::DoEnter()
{
    if (autoSelect_)
        edit()->selectAll();
    TWinControl::DoEnter();
}

int TCustomEdit::MaxLength() const
{
    const int m = edit()->maxLength();
    return m >= 32767 ? 0 : m;
}

void TCustomEdit::SetMaxLength(int v) { edit()->setMaxLength(v <= 0 ? 32767 : v); }
bool TCustomEdit::ReadOnly() const { return edit()->isReadOnly(); }
void TCustomEdit::SetReadOnly(bool v) { Perform(EM_SETREADONLY, v ? 1 : 0); }

void TCustomEdit::SetPasswordChar(QChar v)
{
    passwordChar_ = v;
    edit()->setEchoMode(v.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    charCase_ = v;
    if (v == ecUpperCase)
        SetText(Text().toUpper());
    else if (v == ecLowerCase)
        SetText(Text().toLower());
}

bool TCustomEdit::Modified() const { return edit()->isModified(); }
void TCustomEdit::SetModified(bool v) { edit()->setModified(v); }

int TCustomEdit::SelStart() const
{
    const QLineEdit *e = edit();
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomEdit::SetSelStart(int v)
{
    edit()->setCursorPosition(std::clamp(v, 0, static_cast<int>(edit()->text().size())));
}

int TCustomEdit::SelLength() const { return edit()->hasSelectedText() ? edit()->selectionLength() : 0; }

void TCustomEdit::SetSelLength(int v)
{
    const int start = SelStart();
    const int len = std::clamp(v, 0, static_cast<int>(edit()->text().size()) - start);
    edit()->setSelection(start, len);
}

QString TCustomEdit::SelText() const { return edit()->selectedText(); }

void TCustomEdit::SetSelText(const QString &v)
{
    edit()->insert(v);
}

void TCustomEdit::SelectAll() { edit()->selectAll(); }
void TCustomEdit::ClearSelection() { edit()->del(); }
void TCustomEdit::Clear() { SetText(QString()); }
bool TCustomEdit::CanUndo() const { return edit()->isUndoAvailable(); }
void TCustomEdit::Undo() { edit()->undo(); }
void TCustomEdit::CopyToClipboard() { edit()->copy(); }
void TCustomEdit::CutToClipboard() { edit()->cut(); }
void TCustomEdit::PasteFromClipboard() { edit()->paste(); }

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    v = v == bsNone ? bsNone : bsSingle;
    if (v == borderStyle_)
        return;
    borderStyle_ = v;
    edit()->setFrame(v != bsNone);
    hasFormatRect_ = false;
    applyFormatRect();
    Perform(CM_BORDERCHANGED);
}

void TCustomEdit::SetAlignment(TAlignment v)
{
    alignment_ = v;
    applyFormatRect();
}

namespace {

// Where the line edit lays out its text before any text margins: the style's contents
// rectangle less the edit's own horizontal margin.
QRect lineEditTextRect(QLineEdit *e)
{
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    constexpr int horizontalMargin = 2;
    return r.adjusted(horizontalMargin, 0, -horizontalMargin, 0);
}

}  // namespace

void TCustomEdit::applyFormatRect()
{
    QLineEdit *e = edit();
    // Text in a formatting rectangle starts at its top, as in the platform's edit.
    e->setAlignment(qtAlign(alignment_) | (hasFormatRect_ ? Qt::AlignTop : Qt::AlignVCenter));
    if (!hasFormatRect_) {
        e->setTextMargins(0, 0, 0, 0);
        return;
    }
    const QRect r = lineEditTextRect(e);
    const TRect &f = formatRect_;
    e->setTextMargins(std::max(0, f.Left - r.left()), std::max(0, f.Top - r.top()),
                      std::max(0, r.right() + 1 - f.Right), std::max(0, r.bottom() + 1 - f.Bottom));
}

bool TCustomEdit::QtEvent(QEvent *e)
{
    if (e->type() != QEvent::ContextMenu || PopupMenu())
        return TWinControl::QtEvent(e);
    // The platform edit's own menu; its commands are messages to the control.
    QLineEdit *line = edit();
    const bool readOnly = line->isReadOnly();
    const bool selected = line->hasSelectedText();
    const bool hidden = line->echoMode() != QLineEdit::Normal;
    auto *menu = new QMenu(line);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto add = [this, menu](const QString &text, bool enabled, UINT msg) {
        QAction *a = menu->addAction(text);
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, SignalContext(), [this, msg] {
            SafeCall(this, [this, msg] {
                if (msg)
                    Perform(msg);
                else
                    SelectAll();
            });
        });
    };
    add(QStringLiteral("&Undo"), line->isUndoAvailable() && !readOnly, WM_UNDO);
    menu->addSeparator();
    add(QStringLiteral("Cu&t"), selected && !readOnly && !hidden, WM_CUT);
    add(QStringLiteral("&Copy"), selected && !hidden, WM_COPY);
    add(QStringLiteral("&Paste"), !readOnly && !QGuiApplication::clipboard()->text().isEmpty(), WM_PASTE);
    add(QStringLiteral("&Delete"), selected && !readOnly, WM_CLEAR);
    menu->addSeparator();
    add(QStringLiteral("Select &All"), !line->text().isEmpty() && line->selectedText() != line->text(), 0);
    menu->popup(static_cast<QContextMenuEvent *>(e)->globalPos());
    return true;
}

void TCustomEdit::DefaultHandler(TMessage &Message)
{
    QLineEdit *e = edit();
    switch (Message.Msg) {
    // A read-only edit only copies.
    case WM_CUT:
        if (e->isReadOnly())
            e->copy();
        else
            e->cut();
        break;
    case WM_COPY: e->copy(); break;
    case WM_PASTE:
        if (!e->isReadOnly())
            e->paste();
        break;
    case WM_CLEAR:
        if (!e->isReadOnly())
            e->del();
        break;
    case WM_UNDO:
        if (!e->isReadOnly())
            e->undo();
        break;
    case WM_SIZE:
        hasFormatRect_ = false;
        applyFormatRect();
        TWinControl::DefaultHandler(Message);
        break;
    case EM_SETRECT:
    case EM_SETRECTNP:
        hasFormatRect_ = Message.LParam != 0;
        if (hasFormatRect_)
            formatRect_ = *reinterpret_cast<const TRect *>(Message.LParam);
        applyFormatRect();
        break;
    case EM_GETRECT:
        if (Message.LParam) {
            const QRect r = lineEditTextRect(edit());
            *reinterpret_cast<TRect *>(Message.LParam) =
                hasFormatRect_ ? formatRect_ : Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        }
        break;
    case WM_KEYDOWN: {
        // Shift+Insert, Ctrl+Insert and Shift+Delete, and below Ctrl+V, Ctrl+C and Ctrl+X,
        // become the clipboard messages, which a derived edit may refuse.
        const TShiftState shift = GetShiftState() * TShiftState{ssShift, ssCtrl, ssAlt};
        const Word key = Message.CharCode();
        UINT msg = 0;
        if (key == VK_INSERT && shift == TShiftState{ssShift})
            msg = WM_PASTE;
        else if (key == VK_INSERT && shift == TShiftState{ssCtrl})
            msg = WM_COPY;
        else if (key == VK_DELETE && shift == TShiftState{ssShift})
            msg = WM_CUT;
        if (msg)
            Perform(msg);
        else
            TWinControl::DefaultHandler(Message);
        break;
    }
    case WM_CHAR: {
        const Word ch = Message.CharCode();
        const UINT msg = ch == 22 ? WM_PASTE : ch == 3 ? WM_COPY : ch == 24 ? WM_CUT : ch == 26 ? WM_UNDO : 0;
        if (msg)
            Perform(msg);
        else
            TWinControl::DefaultHandler(Message);
        break;
    }
    case EM_SETREADONLY: edit()->setReadOnly(Message.WParam != 0); Message.Result = 1; break;
    case EM_CHARFROMPOS:
        Message.Result = LRESULT(edit()->cursorPositionAt(QPoint(Message.XPos(), Message.YPos())) & 0xFFFF);
        break;
    default: TWinControl::DefaultHandler(Message); break;
    }
}

// ---------------------------------------------------------------------------------------------
// TMemo and its lines

namespace {

// The memo's lines are the document's blocks; a trailing empty block is the end of the
// last line, not a line of its own.
class TMemoStrings : public TStrings
{
public:
    explicit TMemoStrings(TMemo *m) : memo_(m) {}

    // Every access goes through the memo's editor, which first takes in a text set while hidden.
    QPlainTextEdit *edit() const { return memo_->Editor(); }
    QTextDocument *doc() const { return edit()->document(); }
    bool trailingEmpty() const { return doc()->lastBlock().text().isEmpty(); }

    int GetCount() const override
    {
        const int n = doc()->blockCount();
        return trailingEmpty() ? n - 1 : n;
    }
    QString Get(int Index) const override
    {
        if (Index < 0 || Index >= GetCount())
            listIndexError(Index);
        return doc()->findBlockByNumber(Index).text();
    }
    void Put(int Index, const QString &S) override
    {
        if (Index < 0 || Index >= GetCount())
            listIndexError(Index);
        QTextCursor c(doc()->findBlockByNumber(Index));
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.insertText(S);
    }
    void Insert(int Index, const QString &S) override
    {
        const int count = GetCount();
        if (Index < 0 || Index > count)
            listIndexError(Index);
        const QString line = LfLineBreaks(S);
        if (Index < count || trailingEmpty()) {
            QTextCursor c(doc()->findBlockByNumber(Index));
            c.insertText(line + QLatin1Char('\n'));
        } else {
            QTextCursor c(doc());
            c.movePosition(QTextCursor::End);
            c.insertText(QLatin1Char('\n') + line);
        }
    }
    void Delete(int Index) override
    {
        const int count = GetCount();
        if (Index < 0 || Index >= count)
            listIndexError(Index);
        QTextBlock b = doc()->findBlockByNumber(Index);
        QTextCursor c(b);
        if (b.next().isValid()) {
            c.setPosition(b.next().position(), QTextCursor::KeepAnchor);
        } else if (b.previous().isValid()) {
            c.setPosition(b.previous().position() + b.previous().length() - 1);
            c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
        } else {
            c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        }
        c.removeSelectedText();
    }
    void Clear() override { memo_->Clear(); }
    void SetText(const QString &Value) override { memo_->SetLinesText(LfLineBreaks(Value)); }

protected:
    void SetUpdateState(bool Updating) override { edit()->setUpdatesEnabled(!Updating); }

private:
    TMemo *memo_;
};

// Takes in a text set while hidden just before it is first shown.
class TMemoEditor : public QPlainTextEdit
{
public:
    std::function<void()> BeforeShow;

protected:
    void showEvent(QShowEvent *e) override
    {
        if (BeforeShow)
            BeforeShow();
        QPlainTextEdit::showEvent(e);
    }
};

}  // namespace

TMemo::TMemo(TComponent *AOwner) : TWinControl(AOwner, new TMemoEditor)
{
    static_cast<TMemoEditor *>(Widget())->BeforeShow = [this] { TakeInPendingText(); };
    lines_ = std::make_unique<TMemoStrings>(this);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 185, 89);
    SetWordWrap(true);
    SetScrollBars(ssNone);
    QObject::connect(Editor(), &QPlainTextEdit::textChanged, SignalContext(), [this] {
        if (OnChange)
            SafeCall(this, [this] { OnChange(this); });
    });
}

TMemo::~TMemo() = default;

QPlainTextEdit *TMemo::Editor() const
{
    TakeInPendingText();
    return static_cast<QPlainTextEdit *>(Widget());
}

void TMemo::TakeInPendingText() const
{
    if (!hasPendingText_)
        return;
    hasPendingText_ = false;
    static_cast<QPlainTextEdit *>(Widget())->setPlainText(std::exchange(pendingText_, QString()));
}

void TMemo::SetLinesText(const QString &v)
{
    // Laying out a long text (a summary listing a whole matrix) waits until the memo is shown or
    // read; with an OnChange handler the change is announced at once, as ever.
    auto *e = static_cast<QPlainTextEdit *>(Widget());
    if (!OnChange && !e->isVisible()) {
        pendingText_ = v;
        hasPendingText_ = true;
        return;
    }
    hasPendingText_ = false;
    pendingText_.clear();
    e->setPlainText(v);
}

QString TMemo::GetText() const
{
    return Editor()->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void TMemo::ApplyText(const QString &v) { lines_->SetText(v); }

int TMemo::ColorRole() const { return QPalette::Base; }

LRESULT TMemo::GetDlgCode() const
{
    LRESULT r = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (wantReturns_)
        r |= DLGC_WANTALLKEYS;
    if (wantTabs_)
        r |= DLGC_WANTTAB;
    return r;
}

void TMemo::SetScrollBars(TScrollStyle v)
{
    scrollBars_ = v;
    Editor()->setHorizontalScrollBarPolicy(v == ssHorizontal || v == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Editor()->setVerticalScrollBarPolicy(v == ssVertical || v == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetWordWrap(bool v)
{
    wordWrap_ = v;
    Editor()->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

bool TMemo::ReadOnly() const { return Editor()->isReadOnly(); }
void TMemo::SetReadOnly(bool v) { Editor()->setReadOnly(v); }

void TMemo::SetAlignment(TAlignment v)
{
    alignment_ = v;
    QTextOption o = Editor()->document()->defaultTextOption();
    o.setAlignment(qtAlign(v));
    Editor()->document()->setDefaultTextOption(o);
}

bool TMemo::Modified() const { return Editor()->document()->isModified(); }
void TMemo::SetModified(bool v) { Editor()->document()->setModified(v); }

int TMemo::SelStart() const { return Editor()->textCursor().selectionStart(); }

void TMemo::SetSelStart(int v)
{
    QTextCursor c = Editor()->textCursor();
    c.setPosition(std::clamp(v, 0, Editor()->document()->characterCount() - 1));
    Editor()->setTextCursor(c);
}

int TMemo::SelLength() const
{
    const QTextCursor c = Editor()->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TMemo::SetSelLength(int v)
{
    QTextCursor c = Editor()->textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + v, start, Editor()->document()->characterCount() - 1), QTextCursor::KeepAnchor);
    Editor()->setTextCursor(c);
}

QString TMemo::SelText() const
{
    return Editor()->textCursor().selectedText().replace(QChar(0x2029), QLatin1String("\r\n"));
}

void TMemo::SetSelText(const QString &v)
{
    Editor()->textCursor().insertText(QString(v).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void TMemo::SelectAll() { Editor()->selectAll(); }
void TMemo::Clear()
{
    hasPendingText_ = false;
    pendingText_.clear();
    static_cast<QPlainTextEdit *>(Widget())->clear();
}
void TMemo::CopyToClipboard() { Editor()->copy(); }
void TMemo::CutToClipboard() { Editor()->cut(); }
void TMemo::PasteFromClipboard() { Editor()->paste(); }

// ---------------------------------------------------------------------------------------------
// Group boxes

TCustomGroupBox::TCustomGroupBox(TComponent *AOwner) : TWinControl(AOwner, new QGroupBox)
{
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetBounds(0, 0, 185, 105);
}

QGroupBox *TCustomGroupBox::box() const { return static_cast<QGroupBox *>(Widget()); }

QString TCustomGroupBox::GetText() const { return box()->title(); }

void TCustomGroupBox::ApplyText(const QString &v) { box()->setTitle(v); }

void TCustomGroupBox::AdjustClientRect(TRect &Rect) const
{
    // Below the caption, inside the frame, as the style draws them.
    box()->ensurePolished();
    const QMargins m = box()->contentsMargins();
    Rect.Top += m.top();
    Rect.Left += m.left();
    Rect.Right -= m.right();
    Rect.Bottom -= m.bottom();
}

// ---------------------------------------------------------------------------------------------
// Combo boxes and list boxes: their item lists are the widget's items.

namespace {

// A sorted combo or list box puts a new item after every item that sorts equal or before it.
int sortedInsertIndex(const TStrings &Items, const QString &S)
{
    int at = 0;
    while (at < Items.GetCount() && Items.Get(at).compare(S, Qt::CaseInsensitive) <= 0)
        ++at;
    return at;
}

}  // namespace

class TComboBoxStrings : public TStrings
{
public:
    explicit TComboBoxStrings(TComboBox *c) : owner_(c) {}
    QComboBox *combo() const { return owner_->Combo(); }
    int GetCount() const override { return combo()->count(); }
    QString Get(int Index) const override
    {
        check(Index);
        return combo()->itemText(Index);
    }
    TObject *GetObject(int Index) const override
    {
        check(Index);
        return static_cast<TObject *>(combo()->itemData(Index).value<void *>());
    }
    void Put(int Index, const QString &S) override
    {
        check(Index);
        combo()->setItemText(Index, S);
    }
    void PutObject(int Index, TObject *AObject) override
    {
        check(Index);
        combo()->setItemData(Index, QVariant::fromValue(static_cast<void *>(AObject)));
    }
    int Add(const QString &S) override { return AddObject(S, nullptr); }
    int AddObject(const QString &S, TObject *AObject) override
    {
        const int at = owner_->Sorted() ? sortedInsertIndex(*this, S) : GetCount();
        InsertObject(at, S, AObject);
        return at;
    }
    void Insert(int Index, const QString &S) override { InsertObject(Index, S, nullptr); }
    void InsertObject(int Index, const QString &S, TObject *AObject) override
    {
        if (Index < 0 || Index > GetCount())
            listIndexError(Index);
        const QString text = owner_->GetText();
        combo()->insertItem(Index, S, QVariant::fromValue(static_cast<void *>(AObject)));
        if (combo()->isEditable())
            combo()->setEditText(text);
    }
    void Delete(int Index) override
    {
        check(Index);
        combo()->removeItem(Index);
    }
    void Clear() override
    {
        const QString text = owner_->GetText();
        combo()->clear();
        if (combo()->isEditable())
            combo()->setEditText(text);
    }

private:
    void check(int Index) const
    {
        if (Index < 0 || Index >= GetCount())
            listIndexError(Index);
    }
    TComboBox *owner_;
};

namespace {

// Tells its control when the list opens and closes, as the platform's combo box notifies: the
// close comes from the list's window hiding, whichever way it was closed.
class TNotifyingComboBox : public QComboBox
{
public:
    void showPopup() override
    {
        notify(CBN_DROPDOWN);
        QComboBox::showPopup();
        QWidget *popup = view()->window();
        if (popup != this && popup != watched_) {
            popup->installEventFilter(this);
            watched_ = popup;
        }
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == watched_ && e->type() == QEvent::Hide)
            notify(CBN_CLOSEUP);
        return QComboBox::eventFilter(o, e);
    }

private:
    void notify(Word code)
    {
        if (auto *c = dynamic_cast<TComboBox *>(FindControlOfWidget(this)); c && c->Widget() == this)
            SafeCall(c, [c, code] { c->Perform(CN_COMMAND, MakeWParam(0, code), 0); });
    }
    QObject *watched_ = nullptr;
};

}  // namespace

TComboBox::TComboBox(TComponent *AOwner) : TWinControl(AOwner, new TNotifyingComboBox)
{
    items_ = std::make_unique<TComboBoxStrings>(this);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    SetStyle(csDropDown);
    SetDropDownCount(8);
    QObject::connect(Combo(), QOverload<int>::of(&QComboBox::activated), SignalContext(), [this](int) {
        SafeCall(this, [this] {
            Click();
            Select();
        });
    });
}

TComboBox::~TComboBox() = default;

QComboBox *TComboBox::Combo() const { return static_cast<QComboBox *>(Widget()); }

TRect TComboBox::StyleButtonRect() const
{
    QComboBox *c = Combo();
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = c->isEditable();
    opt.frame = c->hasFrame();
    const QRect r = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, c);
    return Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void TComboBox::SetStyle(TComboBoxStyle v)
{
    style_ = v;
    const bool editable = v == csDropDown || v == csSimple;
    if (editable == Combo()->isEditable())
        return;
    const int index = Combo()->currentIndex();
    Combo()->setEditable(editable);
    Combo()->setCurrentIndex(index);
    if (editable) {
        Combo()->lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
        QObject::connect(Combo()->lineEdit(), &QLineEdit::textEdited, SignalContext(), [this](const QString &) {
            SafeCall(this, [this] { Change(); });
        });
    }
}

int TComboBox::ItemIndex() const
{
    const int i = Combo()->currentIndex();
    // An edited text that matches no item leaves no item selected.
    if (i >= 0 && Combo()->isEditable() && Combo()->currentText() != Combo()->itemText(i))
        return -1;
    return i;
}

void TComboBox::SetItemIndex(int v)
{
    if (v < -1 || v >= Combo()->count())
        v = -1;
    Combo()->setCurrentIndex(v);
    if (v < 0 && Combo()->isEditable())
        Combo()->setEditText(QString());
}

QString TComboBox::GetText() const { return Combo()->currentText(); }

void TComboBox::ApplyText(const QString &v)
{
    if (Combo()->isEditable()) {
        Combo()->setEditText(v);
        const int i = Combo()->findText(v, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (i >= 0) {
            Combo()->setCurrentIndex(i);
        }
        Combo()->setEditText(v);
    } else {
        // A list-only box can show only one of its items.
        const int i = Combo()->findText(v, Qt::MatchFixedString);
        if (i >= 0)
            Combo()->setCurrentIndex(i);
    }
}

int TComboBox::ColorRole() const { return QPalette::Base; }
int TComboBox::DropDownCount() const { return Combo()->maxVisibleItems(); }
void TComboBox::SetDropDownCount(int v) { Combo()->setMaxVisibleItems(std::max(v, 1)); }

void TComboBox::SetSorted(bool v)
{
    sorted_ = v;
    if (v)
        Combo()->model()->sort(0);
}

void TComboBox::SetMaxLength(int v)
{
    maxLength_ = v;
    if (Combo()->lineEdit())
        Combo()->lineEdit()->setMaxLength(v > 0 ? v : 32767);
}

bool TComboBox::DroppedDown() const { return Combo()->view()->isVisible(); }

void TComboBox::SetDroppedDown(bool v)
{
    if (v == DroppedDown())
        return;
    if (v)
        Combo()->showPopup();
    else
        Combo()->hidePopup();
}

void TComboBox::Dispatch(TMessage &Message)
{
    if (Message.Msg == CN_COMMAND)
        CNCommand(Message);
    else
        TWinControl::Dispatch(Message);
}

void TComboBox::CNCommand(TMessage &Message)
{
    switch (Message.WParamHi()) {
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
    }
}

void TComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TComboBox::DefaultHandler(TMessage &Message)
{
    switch (Message.Msg) {
    case CB_SETDROPPEDWIDTH:
        // The list's window is the combo's popup container.
        Combo()->view()->window()->setMinimumWidth(std::max(0, int(Message.WParam)));
        Message.Result = std::max(Width(), Combo()->view()->window()->minimumWidth());
        break;
    case CB_GETDROPPEDWIDTH:
        Message.Result = std::max(Width(), Combo()->view()->window()->minimumWidth());
        break;
    default:
        TWinControl::DefaultHandler(Message);
        break;
    }
}

int TComboBox::SelStart() const
{
    QLineEdit *e = Combo()->lineEdit();
    return e ? (e->hasSelectedText() ? e->selectionStart() : e->cursorPosition()) : 0;
}

void TComboBox::SetSelStart(int v)
{
    if (QLineEdit *e = Combo()->lineEdit())
        e->setCursorPosition(v);
}

int TComboBox::SelLength() const
{
    QLineEdit *e = Combo()->lineEdit();
    return e && e->hasSelectedText() ? e->selectionLength() : 0;
}

void TComboBox::SetSelLength(int v)
{
    if (QLineEdit *e = Combo()->lineEdit())
        e->setSelection(SelStart(), v);
}

void TComboBox::SelectAll()
{
    if (QLineEdit *e = Combo()->lineEdit())
        e->selectAll();
}

void TComboBox::Clear()
{
    items_->Clear();
    SetItemIndex(-1);
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

class TListBoxStrings : public TStrings
{
public:
    explicit TListBoxStrings(TListBox *l) : owner_(l) {}
    QListWidget *list() const { return owner_->List(); }
    int GetCount() const override { return list()->count(); }
    QString Get(int Index) const override { return item(Index)->text(); }
    TObject *GetObject(int Index) const override
    {
        return static_cast<TObject *>(item(Index)->data(Qt::UserRole).value<void *>());
    }
    void Put(int Index, const QString &S) override { item(Index)->setText(S); }
    void PutObject(int Index, TObject *AObject) override
    {
        item(Index)->setData(Qt::UserRole, QVariant::fromValue(static_cast<void *>(AObject)));
    }
    int Add(const QString &S) override { return AddObject(S, nullptr); }
    int AddObject(const QString &S, TObject *AObject) override
    {
        const int at = owner_->Sorted() ? sortedInsertIndex(*this, S) : GetCount();
        InsertObject(at, S, AObject);
        return at;
    }
    void Insert(int Index, const QString &S) override { InsertObject(Index, S, nullptr); }
    void InsertObject(int Index, const QString &S, TObject *AObject) override
    {
        if (Index < 0 || Index > GetCount())
            listIndexError(Index);
        auto *it = new QListWidgetItem(S);
        it->setData(Qt::UserRole, QVariant::fromValue(static_cast<void *>(AObject)));
        owner_->changing_ = true;
        list()->insertItem(Index, it);
        owner_->changing_ = false;
    }
    void Delete(int Index) override
    {
        item(Index);
        owner_->changing_ = true;
        delete list()->takeItem(Index);
        owner_->changing_ = false;
    }
    void Clear() override
    {
        owner_->changing_ = true;
        list()->clear();
        owner_->changing_ = false;
    }

private:
    QListWidgetItem *item(int Index) const
    {
        if (Index < 0 || Index >= GetCount())
            listIndexError(Index);
        return list()->item(Index);
    }
    TListBox *owner_;
};

TListBox::TListBox(TComponent *AOwner) : TWinControl(AOwner, new QListWidget)
{
    items_ = std::make_unique<TListBoxStrings>(this);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    // Clicks come from the selection, double clicks from the list itself.
    SetControlStyle(ControlStyle() - csClickEvents);
    applySelectionMode();
    QObject::connect(List(), &QListWidget::currentRowChanged, SignalContext(), [this](int) {
        if (!changing_)
            SafeCall(this, [this] { Click(); });
    });
    QObject::connect(List(), &QListWidget::itemDoubleClicked, SignalContext(), [this](QListWidgetItem *) {
        SafeCall(this, [this] { DblClick(); });
    });
}

TListBox::~TListBox() = default;

QListWidget *TListBox::List() const { return static_cast<QListWidget *>(Widget()); }

int TListBox::ColorRole() const { return QPalette::Base; }

void TListBox::applySelectionMode()
{
    List()->setSelectionMode(!multiSelect_ ? QAbstractItemView::SingleSelection
                             : extendedSelect_ ? QAbstractItemView::ExtendedSelection
                                               : QAbstractItemView::MultiSelection);
}

void TListBox::SetMultiSelect(bool v) { multiSelect_ = v; applySelectionMode(); }
void TListBox::SetExtendedSelect(bool v) { extendedSelect_ = v; applySelectionMode(); }

int TListBox::ItemIndex() const { return List()->currentRow(); }

void TListBox::SetItemIndex(int v)
{
    if (v < -1 || v >= List()->count())
        v = -1;
    changing_ = true;
    if (v < 0) {
        List()->setCurrentRow(-1);
        if (!multiSelect_)
            List()->clearSelection();
    } else {
        List()->setCurrentRow(v, multiSelect_ ? QItemSelectionModel::Current : QItemSelectionModel::ClearAndSelect);
    }
    changing_ = false;
}

bool TListBox::Selected(int Index) const
{
    if (Index < 0 || Index >= List()->count())
        ListIndexError(Index);
    return List()->item(Index)->isSelected();
}

void TListBox::SetSelected(int Index, bool v)
{
    if (Index < 0 || Index >= List()->count())
        ListIndexError(Index);
    changing_ = true;
    if (!multiSelect_ && v)
        List()->setCurrentRow(Index);
    List()->item(Index)->setSelected(v);
    changing_ = false;
}

int TListBox::SelCount() const
{
    return multiSelect_ ? static_cast<int>(List()->selectedItems().size()) : -1;
}

void TListBox::SetSorted(bool v)
{
    sorted_ = v;
    if (v) {
        changing_ = true;
        List()->sortItems();
        changing_ = false;
    }
}

int TListBox::TopIndex() const
{
    QListWidgetItem *it = List()->itemAt(0, 0);
    return it ? List()->row(it) : 0;
}

void TListBox::SetTopIndex(int v)
{
    if (QListWidgetItem *it = List()->item(v))
        List()->scrollToItem(it, QAbstractItemView::PositionAtTop);
}

int TListBox::ItemHeight() const
{
    return List()->count() ? List()->sizeHintForRow(0) : List()->fontMetrics().height() + 2;
}

void TListBox::SetItemHeight(int v)
{
    List()->setStyleSheet(QStringLiteral("QListWidget::item { height: %1px; }").arg(v));
}

int TListBox::ItemAtPos(const TPoint &Pos, bool Existing) const
{
    QListWidgetItem *it = List()->itemAt(Pos.X, Pos.Y);
    if (it)
        return List()->row(it);
    return Existing ? -1 : List()->count();
}

TRect TListBox::ItemRect(int Index) const
{
    QListWidgetItem *it = List()->item(Index);
    if (!it)
        return {};
    const QRect r = List()->visualItemRect(it);
    return Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void TListBox::Clear() { items_->Clear(); }

void TListBox::ClearSelection()
{
    changing_ = true;
    List()->clearSelection();
    changing_ = false;
}

void TListBox::SelectAll()
{
    if (multiSelect_)
        List()->selectAll();
}

// ---------------------------------------------------------------------------------------------
// TCheckListBox

// The state last seen of an item's check box, to tell a tick from other changes of the item.
static constexpr int kSeenCheckRole = Qt::UserRole + 0x4C42;

TCheckListBox::TCheckListBox(TComponent *AOwner) : TListBox(AOwner)
{
    // Every item that comes in gets its check box, unchecked.
    QObject::connect(List()->model(), &QAbstractItemModel::rowsInserted, SignalContext(),
                     [this](const QModelIndex &, int first, int last) {
                         settingCheck_ = true;
                         for (int i = first; i <= last; ++i)
                             if (QListWidgetItem *it = List()->item(i)) {
                                 it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
                                 it->setCheckState(Qt::Unchecked);
                                 it->setData(kSeenCheckRole, int(Qt::Unchecked));
                             }
                         settingCheck_ = false;
                     });
    QObject::connect(List(), &QListWidget::itemChanged, SignalContext(), [this](QListWidgetItem *it) {
        const int state = int(it->checkState());
        if (it->data(kSeenCheckRole).toInt() == state)
            return;
        it->setData(kSeenCheckRole, state);
        if (!settingCheck_)
            SafeCall(this, [this] { ClickCheck(); });
    });
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

bool TCheckListBox::Checked(int Index) const
{
    if (Index < 0 || Index >= List()->count())
        ListIndexError(Index);
    return List()->item(Index)->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int Index, bool v)
{
    if (Index < 0 || Index >= List()->count())
        ListIndexError(Index);
    settingCheck_ = true;
    List()->item(Index)->setCheckState(v ? Qt::Checked : Qt::Unchecked);
    settingCheck_ = false;
}

// ---------------------------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent *AOwner) : TWinControl(AOwner, new QScrollBar(Qt::Horizontal))
{
    SetTabStop(true);
    SetBounds(0, 0, 121, 17);
    Bar()->setRange(0, 100);
    Bar()->setSingleStep(1);
    Bar()->setPageStep(1);
    QObject::connect(Bar(), &QScrollBar::actionTriggered, SignalContext(), [this](int action) {
        if (setting_)
            return;
        SafeCall(this, [this, action] {
            TScrollCode code = scPosition;
            switch (action) {
            case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
            case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
            case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
            case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
            case QAbstractSlider::SliderToMinimum: code = scTop; break;
            case QAbstractSlider::SliderToMaximum: code = scBottom; break;
            case QAbstractSlider::SliderMove: code = scTrack; break;
            default: break;
            }
            int pos = Bar()->sliderPosition();
            Scroll(code, pos);
            Bar()->setSliderPosition(pos);
        });
    });
    QObject::connect(Bar(), &QScrollBar::valueChanged, SignalContext(), [this](int) {
        if (!setting_)
            SafeCall(this, [this] { Change(); });
    });
}

QScrollBar *TScrollBar::Bar() const { return static_cast<QScrollBar *>(Widget()); }

void TScrollBar::SetKind(TScrollBarKind v)
{
    kind_ = v;
    Bar()->setOrientation(v == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    if ((v == sbVertical) != (Height() > Width()))
        SetBounds(Left(), Top(), Height(), Width());
}

int TScrollBar::Min() const { return Bar()->minimum(); }
int TScrollBar::Max() const { return Bar()->maximum() + std::max(pageSize_ - 1, 0); }
int TScrollBar::Position() const { return Bar()->value(); }
int TScrollBar::SmallChange() const { return Bar()->singleStep(); }
void TScrollBar::SetSmallChange(int v) { Bar()->setSingleStep(v); }
int TScrollBar::LargeChange() const { return Bar()->pageStep(); }
void TScrollBar::SetLargeChange(int v) { Bar()->setPageStep(v); }
void TScrollBar::SetMin(int v) { SetParams(Position(), v, Max()); }
void TScrollBar::SetMax(int v) { SetParams(Position(), Min(), v); }
void TScrollBar::SetPosition(int v) { SetParams(v, Min(), Max()); }

void TScrollBar::SetPageSize(int v)
{
    const int max = Max();
    pageSize_ = std::max(v, 0);
    SetParams(Position(), Min(), max);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
    const int old = Position();
    setting_ = true;
    // The page takes the last positions: the thumb cannot go past Max - PageSize + 1.
    Bar()->setRange(AMin, std::max(AMin, AMax - std::max(pageSize_ - 1, 0)));
    Bar()->setValue(std::clamp(APosition, Bar()->minimum(), Bar()->maximum()));
    setting_ = false;
    if (Position() != old)
        Change();
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int &ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}
