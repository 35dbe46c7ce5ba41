#include "framework/os/DragDrop.h"
#include "framework/controls/Controls.h"
#include "framework/rtl/CodePage.h"
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <QWidget>

namespace {

const QString textMime = QStringLiteral("text/plain");
const QString urlMime = QStringLiteral("text/uri-list");

TClipboardFormat urlFormat() { return RegisterClipboardFormat(QStringLiteral("UniformResourceLocator")); }

uint32_t effectsOf(Qt::DropActions a)
{
    uint32_t e = DROPEFFECT_NONE;
    if (a & Qt::CopyAction) e |= DROPEFFECT_COPY;
    if (a & Qt::MoveAction) e |= DROPEFFECT_MOVE;
    if (a & Qt::LinkAction) e |= DROPEFFECT_LINK;
    return e;
}

Qt::DropActions actionsOf(uint32_t e)
{
    Qt::DropActions a;
    if (e & DROPEFFECT_COPY) a |= Qt::CopyAction;
    if (e & DROPEFFECT_MOVE) a |= Qt::MoveAction;
    if (e & DROPEFFECT_LINK) a |= Qt::LinkAction;
    return a;
}

// One effect out of those chosen, or none.
Qt::DropAction actionOf(uint32_t e)
{
    if (e & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (e & DROPEFFECT_COPY) return Qt::CopyAction;
    if (e & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

uint32_t keyStateOf(Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    return MouseKeysOf(m, b) | ((m & Qt::AltModifier) ? MK_ALT : 0);
}

TDragScript *currentScript = nullptr;

} // namespace

// ---------------------------------------------------------------------------------------------

TDataObject::TDataObject() : data_(std::make_unique<QMimeData>()) {}

TDataObject::TDataObject(const QMimeData *Data) : data_(std::make_unique<QMimeData>())
{
    if (Data)
        for (const QString &f : Data->formats())
            data_->setData(f, Data->data(f));
}

TDataObject::~TDataObject() = default;

QMimeData *TDataObject::CloneMimeData() const
{
    auto *m = new QMimeData;
    for (const QString &f : data_->formats())
        m->setData(f, data_->data(f));
    return m;
}

std::vector<TClipboardFormat> TDataObject::Formats() const
{
    std::vector<TClipboardFormat> out;
    if (!Text().isEmpty()) {
        out.push_back(CF_UNICODETEXT);
        out.push_back(CF_TEXT);
    }
    for (const QString &mime : data_->formats())
        if (TClipboardFormat f = ClipboardFormatOfMimeType(mime))
            out.push_back(f);
    if (!Files().isEmpty())
        out.push_back(CF_HDROP);
    const QList<QUrl> urls = data_->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl &u) { return !u.isLocalFile(); }))
        out.push_back(urlFormat());
    return out;
}

bool TDataObject::HasFormat(TClipboardFormat Format) const
{
    const auto f = Formats();
    return std::find(f.begin(), f.end(), Format) != f.end();
}

QByteArray TDataObject::GetData(TClipboardFormat Format) const
{
    if (!HasFormat(Format))
        return QByteArray();
    switch (Format) {
    case CF_TEXT: return StringToAnsi(Text());
    case CF_UNICODETEXT: {
        const QString t = Text();
        return QByteArray(reinterpret_cast<const char *>(t.utf16()), t.size() * 2);
    }
    case CF_HDROP: return QByteArray();
    default:
        if (Format == urlFormat())
            return QByteArray();
        return data_->data(ClipboardFormatMimeType(Format));
    }
}

void TDataObject::SetData(TClipboardFormat Format, const QByteArray &Data)
{
    switch (Format) {
    case CF_TEXT: SetText(AnsiToString(Data)); return;
    case CF_UNICODETEXT:
        SetText(QString::fromUtf16(reinterpret_cast<const char16_t *>(Data.constData()), Data.size() / 2));
        return;
    case CF_HDROP: throw EClipboardException(QStringLiteral("File lists are set with SetFiles"));
    default: {
        const QString mime = ClipboardFormatMimeType(Format);
        if (mime.isEmpty() || Format == CF_BITMAP || Format == urlFormat())
            throw EClipboardException(QStringLiteral("Cannot put data of format %1 into a drag").arg(Format));
        data_->setData(mime, Data);
    }
    }
}

QString TDataObject::Text() const
{
    // Links from a browser read as text, as the original platform offered them; local files
    // do not, so that a file drop does not also paste its name.
    if (data_->hasFormat(textMime))
        return data_->text();
    QStringList links;
    for (const QUrl &u : data_->urls())
        if (!u.isLocalFile())
            links << u.toString();
    return links.join(QStringLiteral("\r\n"));
}

void TDataObject::SetText(const QString &Value)
{
    data_->setText(Value);
}

QStringList TDataObject::Files() const
{
    QStringList out;
    for (const QUrl &u : data_->urls())
        if (u.isLocalFile())
            out << QDir::toNativeSeparators(u.toLocalFile());
    return out;
}

void TDataObject::SetFiles(const QStringList &Files)
{
    QList<QUrl> urls;
    for (const QString &f : Files)
        urls << QUrl::fromLocalFile(QDir::fromNativeSeparators(f));
    data_->setUrls(urls);
}

// ---------------------------------------------------------------------------------------------

TDragScript::TDragScript() : outer_(currentScript) { currentScript = this; }

TDragScript::~TDragScript() { currentScript = outer_; }

TDragScript &TDragScript::DropNext(uint32_t Effect)
{
    answers_.push_back({false, Effect});
    return *this;
}

TDragScript &TDragScript::CancelNext()
{
    answers_.push_back({true, DROPEFFECT_NONE});
    return *this;
}

namespace {

// Watches the keyboard and mouse during a real drag to keep the source informed; a source
// that cancels ends the drag.
class SourceWatcher : public QObject
{
public:
    explicit SourceWatcher(IDropSource *s) : source_(s) {}
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (!source_)
            return false;
        bool esc = false;
        uint32_t keys = 0;
        switch (e->type()) {
        case QEvent::KeyPress:
            esc = static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape;
            keys = keyStateOf(QGuiApplication::mouseButtons(), static_cast<QKeyEvent *>(e)->modifiers());
            break;
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            auto *m = static_cast<QMouseEvent *>(e);
            keys = keyStateOf(m->buttons(), m->modifiers());
            break;
        }
        default: return false;
        }
        HRESULT r = S_OK;
        SafeCall(nullptr, [&] { r = source_->QueryContinueDrag(esc, keys); });
        if (r == DRAGDROP_S_CANCEL)
            QDrag::cancel();
        return false;
    }

private:
    IDropSource *source_;
};

} // namespace

HRESULT DoDragDrop(const TDataObject &Data, IDropSource *Source, uint32_t OKEffects, uint32_t &Effect)
{
    Effect = DROPEFFECT_NONE;
    if (TDragScript *script = currentScript) {
        TDragRecord rec;
        rec.Data = std::make_unique<TDataObject>(Data.MimeData());
        rec.OKEffects = OKEffects;
        TDragScript::Answer a{false, DROPEFFECT_NONE};
        if (script->next_ < script->answers_.size())
            a = script->answers_[script->next_++];
        // A target can only take an effect the source allows.
        const uint32_t shown = a.Cancel ? DROPEFFECT_NONE : effectsOf(actionOf(a.Effect & OKEffects));
        HRESULT r = DRAGDROP_S_DROP;
        if (Source) {
            Source->GiveFeedback(shown);
            r = Source->QueryContinueDrag(a.Cancel, script->keyState_ & ~uint32_t(MK_LBUTTON));
        }
        if (a.Cancel || r == DRAGDROP_S_CANCEL || shown == DROPEFFECT_NONE) {
            rec.Result = DRAGDROP_S_CANCEL;
        } else {
            rec.Result = DRAGDROP_S_DROP;
            rec.Effect = shown;
        }
        Effect = rec.Effect;
        const HRESULT result = rec.Result;
        script->records_.push_back(std::move(rec));
        return result;
    }
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return DRAGDROP_S_CANCEL;

    auto *drag = new QDrag(QCoreApplication::instance());
    drag->setMimeData(Data.CloneMimeData());
    QPointer<QDrag> guard(drag);
    if (Source)
        QObject::connect(drag, &QDrag::actionChanged, drag, [Source](Qt::DropAction a) {
            SafeCall(nullptr, [&] { Source->GiveFeedback(effectsOf(a)); });
        });
    SourceWatcher watcher(Source);
    QCoreApplication::instance()->installEventFilter(&watcher);
    const Qt::DropAction done = drag->exec(actionsOf(OKEffects), actionOf(OKEffects));
    QCoreApplication::instance()->removeEventFilter(&watcher);
    if (guard)
        guard->deleteLater();
    if (done == Qt::IgnoreAction)
        return DRAGDROP_S_CANCEL;
    Effect = effectsOf(done);
    return DRAGDROP_S_DROP;
}

// ---------------------------------------------------------------------------------------------

namespace {

// Lives as a child of the registered widget, so a window that goes takes its target along.
class DropTargetFilter : public QObject
{
public:
    DropTargetFilter(QWidget *w, std::shared_ptr<IDropTarget> t)
        : QObject(w), widget_(w), target_(std::move(t)), hadDrops_(w->acceptDrops())
    {
        setObjectName(QStringLiteral("tarvix-drop-target"));
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
    void Revoke()
    {
        widget_->removeEventFilter(this);
        widget_->setAcceptDrops(hadDrops_);
    }

    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o != widget_)
            return false;
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto *d = static_cast<QDropEvent *>(e);
            const uint32_t allowed = effectsOf(d->possibleActions());
            uint32_t effect = allowed;
            const uint32_t keys = keyStateOf(d->buttons(), d->modifiers());
            const QPoint p = widget_->mapToGlobal(d->position().toPoint());
            const TPoint pt(p.x(), p.y());
            SafeCall(nullptr, [&] {
                if (e->type() == QEvent::DragEnter) {
                    data_ = std::make_unique<TDataObject>(d->mimeData());
                    target_->DragEnter(data_.get(), keys, pt, effect);
                } else if (e->type() == QEvent::DragMove) {
                    target_->DragOver(keys, pt, effect);
                } else {
                    TDataObject data(d->mimeData());
                    target_->Drop(&data, keys, pt, effect);
                }
            });
            const Qt::DropAction a = actionOf(effect & allowed);
            // The entry is always taken so that moves keep coming while the target refuses.
            if (a != Qt::IgnoreAction) {
                d->setDropAction(a);
                d->accept();
            } else if (e->type() == QEvent::DragEnter) {
                d->accept();
            } else {
                d->setDropAction(Qt::IgnoreAction);
                d->ignore();
            }
            if (e->type() == QEvent::Drop)
                data_.reset();
            return true;
        }
        case QEvent::DragLeave:
            data_.reset();
            SafeCall(nullptr, [&] { target_->DragLeave(); });
            return true;
        default: return false;
        }
    }

private:
    QWidget *widget_;
    std::shared_ptr<IDropTarget> target_;
    std::unique_ptr<TDataObject> data_;  // what entered, alive until the drag leaves or drops
    bool hadDrops_;
};

DropTargetFilter *filterOf(QWidget *w)
{
    return w ? w->findChild<DropTargetFilter *>(QStringLiteral("tarvix-drop-target"), Qt::FindDirectChildrenOnly) : nullptr;
}

QWidget *widgetOf(HWND Wnd)
{
    TWinControl *c = FindControl(Wnd);
    return c ? c->ClientWidget() : nullptr;
}

} // namespace

HRESULT RegisterDragDrop(QWidget *Widget, std::shared_ptr<IDropTarget> Target)
{
    if (!Widget || !Target)
        return E_INVALIDARG;
    if (filterOf(Widget))
        return DRAGDROP_E_ALREADYREGISTERED;
    new DropTargetFilter(Widget, std::move(Target));
    return S_OK;
}

HRESULT RegisterDragDrop(HWND Wnd, std::shared_ptr<IDropTarget> Target)
{
    QWidget *w = widgetOf(Wnd);
    return w ? RegisterDragDrop(w, std::move(Target)) : E_INVALIDARG;
}

HRESULT RevokeDragDrop(QWidget *Widget)
{
    DropTargetFilter *f = filterOf(Widget);
    if (!f)
        return DRAGDROP_E_NOTREGISTERED;
    f->Revoke();
    delete f;
    return S_OK;
}

HRESULT RevokeDragDrop(HWND Wnd)
{
    QWidget *w = widgetOf(Wnd);
    return w ? RevokeDragDrop(w) : DRAGDROP_E_NOTREGISTERED;
}
