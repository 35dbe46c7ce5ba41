#pragma once
// Synthesised keyboard and mouse input for GUI tests: the events travel the same path as a user's.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

inline void sendKey(QWidget *w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(w, &release);
}

inline void typeText(QWidget *w, const QString &s)
{
    for (QChar ch : s)
        sendKey(w, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
}

// Synthesised mouse input at a point of the widget (left button unless told otherwise).
inline void sendMouseEvent(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
                           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

inline void pressMouse(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouseEvent(w, QEvent::MouseButtonPress, p, button, button);
}

inline void releaseMouse(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouseEvent(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton);
}

// A move with the buttons held down.
inline void moveMouse(QWidget *w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    sendMouseEvent(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

inline void clickMouse(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    pressMouse(w, p, button);
    releaseMouse(w, p, button);
}

// The pointer entering or leaving the widget.
inline void enterMouse(QWidget *w, QPoint p = QPoint(1, 1))
{
    QEnterEvent e{QPointF(p), QPointF(p), QPointF(w->mapToGlobal(p))};
    QCoreApplication::sendEvent(w, &e);
}

inline void leaveMouse(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}
