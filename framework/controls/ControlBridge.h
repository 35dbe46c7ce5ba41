#pragma once
// The Qt side of a control: turns Qt events into window messages, runs its timers and
// delivers posted messages. Internal to the controls.
#include "framework/controls/Controls.h"
#include <QObject>
#include <QPoint>
#include <memory>

class QKeyEvent;
class QMouseEvent;

class TControlBridge : public QObject
{
public:
    explicit TControlBridge(TControl *c) : control_(c) {}
    ~TControlBridge() override;

    void Detach() { control_ = nullptr; }
    // Watches a widget's events (the control's widget, and a scroll area's viewport).
    void Watch(QWidget *w);

    UINT StartTimer(UINT id, UINT ms);
    bool StopTimer(UINT id);
    void Post(const TMessage &m);

    // Alive while the control is; lets a handler's caller see that the control was freed.
    std::shared_ptr<bool> Alive() const { return alive_; }

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    void timerEvent(QTimerEvent *ev) override;
    void customEvent(QEvent *ev) override;

private:
    bool translate(QObject *obj, QEvent *ev);
    bool keyPress(QObject *obj, QKeyEvent *ke);
    bool keyRelease(QObject *obj, QKeyEvent *ke);
    bool mouse(QObject *obj, QMouseEvent *me);
    // The key preprocessing of the message loop for a key going down on c: menu shortcuts and
    // dialog keys. True when the key was taken there.
    bool preprocessKey(TWinControl *c, Word vk, LPARAM keyData, TShiftState shift);

    TControl *control_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::map<int, UINT> timers_;
    int wheelPending_ = 0;  // Qt timer id -> timer id
};

// The Qt event being translated and whether its message reached DefaultHandler.
struct TQtEventContext
{
    QEvent *Event = nullptr;
    const TMessage *Message = nullptr;
    bool PassNative = false;
    TQtEventContext *Outer = nullptr;
    // The object the event is for, where a handler may run the native handling at once (paint).
    QObject *Target = nullptr;
};
TQtEventContext *CurrentQtEvent();
// The pointer of the mouse event being handled, in screen coordinates; false outside one.
bool CurrentMouseScreenPos(QPoint &Pos);

// An event sent on to a widget's own handling that the bridges must let through untouched.
extern QEvent *g_PassThroughEvent;
