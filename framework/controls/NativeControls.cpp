#include "framework/controls/NativeControls.h"
#include "framework/controls/ControlBridge.h"
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

bool PaintOverNative(TControl *Control, TMessage &Message, TCanvas *Canvas, const std::function<void()> &Over)
{
    TQtEventContext *ctx = CurrentQtEvent();
    QWidget *w = Control ? Control->ClientWidget() : nullptr;
    if (!ctx || ctx->Message != &Message || !ctx->Event || ctx->Event->type() != QEvent::Paint || !w || !Canvas)
        return false;
    // The widget's own painting, now rather than after the handler.
    QEvent *saved = g_PassThroughEvent;
    g_PassThroughEvent = ctx->Event;
    QCoreApplication::sendEvent(w, ctx->Event);
    g_PassThroughEvent = saved;

    QPainter painter(w);
    Canvas->AttachPainter(&painter);
    Canvas->Font()->Assign(Control->Font());
    Canvas->Brush()->SetColor(Control->Color());
    try {
        Over();
    } catch (...) {
        Canvas->DetachPainter();
        throw;
    }
    Canvas->DetachPainter();
    return true;
}

void SetFocusOnClick(TWinControl *Control, bool Value)
{
    if (!Control || !Control->Widget())
        return;
    const bool tab = Control->TabStop();
    Control->Widget()->setFocusPolicy(Value ? (tab ? Qt::StrongFocus : Qt::ClickFocus) : (tab ? Qt::TabFocus : Qt::NoFocus));
}

void PaintParentBackground(TControl *Control, TCanvas *Canvas)
{
    TWinControl *parent = Control ? Control->Parent() : nullptr;
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    if (!parent || !p || !p->isActive() || !parent->ClientWidget())
        return;
    const QRect area(Control->Left(), Control->Top(), Control->Width(), Control->Height());
    p->save();
    p->setClipRect(QRect(0, 0, area.width(), area.height()), Qt::IntersectClip);
    // The parent alone: its window children (this control among them) are not drawn.
    parent->ClientWidget()->render(p, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl *c = parent->Controls(i);
        if (c == Control || dynamic_cast<TWinControl *>(c) || !c->Visible() || !c->Widget())
            continue;
        const QRect r(c->Left(), c->Top(), c->Width(), c->Height());
        if (r.intersects(area))
            c->Widget()->render(p, r.topLeft() - area.topLeft(), QRegion(), QWidget::DrawChildren);
    }
    p->restore();
}

void RunDefaultNow(TMessage &Message, const std::function<void()> &Handle)
{
    TQtEventContext *ctx = CurrentQtEvent();
    if (!ctx || ctx->Message != &Message) {
        Handle();
        return;
    }
    ctx->Message = nullptr;
    try {
        Handle();
    } catch (...) {
        ctx->Message = &Message;
        throw;
    }
    ctx->Message = &Message;
    ctx->PassNative = false;
}
