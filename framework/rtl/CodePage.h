#pragma once
// The "ANSI code page" of 8-bit text files: Windows-1252.
#include <QByteArray>
#include <QString>

// Decodes Windows-1252 bytes; the five unassigned bytes (0x81 0x8D 0x8F 0x90 0x9D) map to the C1
// control with the same number, so every byte round-trips.
QString AnsiToString(const QByteArray &bytes);
QString AnsiToString(const char *data, qsizetype len);
// Encodes to Windows-1252; characters outside the code page become '?'.
QByteArray StringToAnsi(const QString &s);
// The Windows-1252 byte of one character, or '?' when it has none.
char CharToAnsi(QChar c);
// True when every character of s has a Windows-1252 byte.
bool IsAnsiRepresentable(const QString &s);
