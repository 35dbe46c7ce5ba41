#pragma once
// Synthesised keyboard and mouse input for GUI tests: the events travel the same path as a
// user's keys and mouse.
#include <QCoreApplication>
#include <QHelpEvent>
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

// Synthesised mouse input, in the widget's own coordinates.
inline void mouseButton(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                        Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

inline void mousePress(QWidget *w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    mouseButton(w, QEvent::MouseButtonPress, p, b);
}

inline void mouseRelease(QWidget *w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    mouseButton(w, QEvent::MouseButtonRelease, p, b);
}

inline void mouseClick(QWidget *w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    mousePress(w, p, b);
    mouseRelease(w, p, b);
}

inline void mouseMoveTo(QWidget *w, QPoint p, Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, held, Qt::NoModifier);
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
