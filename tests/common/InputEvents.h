#pragma once
// Synthesised keyboard and mouse input for GUI tests: the events travel the same path as a
// user's keys and mouse.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWheelEvent>
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

// Synthesised mouse input: presses, releases, moves, wheel notches, and the pointer entering,
// resting on or leaving a widget. Positions are in the widget's coordinates; a release carries no
// button, a move carries the buttons held.
inline void mouseEvent(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                       Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

inline void mousePress(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                       Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    mouseEvent(w, QEvent::MouseButtonPress, p, button, button, mods);
}

inline void mouseRelease(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                         Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    mouseEvent(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton, mods);
}

inline void mouseClick(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                       Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    mousePress(w, p, button, mods);
    mouseRelease(w, p, button, mods);
}

inline void mouseMove(QWidget *w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    mouseEvent(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

// Whole wheel notches: positive turns away from the user.
inline void mouseWheel(QWidget *w, QPoint p, int notches, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent e(QPointF(p), QPointF(w->mapToGlobal(p)), QPoint(), QPoint(0, notches * 120), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

inline void mouseEnter(QWidget *w, QPoint p = QPoint(1, 1))
{
    const QPointF local(p);
    QEnterEvent e(local, local, QPointF(w->mapToGlobal(p)));
    QCoreApplication::sendEvent(w, &e);
}

inline void mouseLeave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

// The mouse has rested at p long enough for a hint.
inline void toolTipAt(QWidget *w, QPoint p)
{
    QHelpEvent e(QEvent::ToolTip, p, w->mapToGlobal(p));
    QCoreApplication::sendEvent(w, &e);
}
