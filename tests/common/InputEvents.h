#pragma once
// Synthesised keyboard and mouse input for GUI tests: the events travel the same path as a
// user's keys and clicks.
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

// Synthesised mouse input: presses, releases, moves, and the pointer entering or leaving a widget.
// Positions are in the widget's coordinates.

inline void mouseEvent(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                       Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

inline void mousePress(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    mouseEvent(w, QEvent::MouseButtonPress, p, button, button);
}

inline void mouseRelease(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    mouseEvent(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton);
}

inline void mouseClick(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    mousePress(w, p, button);
    mouseRelease(w, p, button);
}

inline void mouseMove(QWidget *w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    mouseEvent(w, QEvent::MouseMove, p, Qt::NoButton, held);
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
