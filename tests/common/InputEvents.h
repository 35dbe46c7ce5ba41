#pragma once
// Synthesised keyboard and mouse input for GUI tests: the events travel the same path as a user's.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
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

// Synthesised mouse input: positions are in the widget's coordinates; the release carries no
// button, a move carries the buttons held.
inline void sendMouseEvent(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
                           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

inline void mousePress(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouseEvent(w, QEvent::MouseButtonPress, p, button, button);
}

inline void mouseRelease(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouseEvent(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton);
}

inline void mouseMove(QWidget *w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    sendMouseEvent(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

inline void mouseClick(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    mousePress(w, p, button);
    mouseRelease(w, p, button);
}

// Whole wheel notches: positive turns away from the user.
inline void mouseWheel(QWidget *w, QPoint p, int notches)
{
    QWheelEvent e(QPointF(p), QPointF(w->mapToGlobal(p)), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}
