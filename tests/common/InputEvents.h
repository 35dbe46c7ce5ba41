#pragma once
// Synthesised keyboard input for GUI tests: the events travel the same path as a user's keys.
#include <QCoreApplication>
#include <QKeyEvent>
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
