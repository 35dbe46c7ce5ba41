#pragma once
// Helpers shared by the test programs.
#include <QString>
#include <QByteArray>
#include <QTemporaryDir>
#include <ostream>

// Lets GoogleTest print QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

// Folder of the small fixtures under tests/data.
inline QString TestDataPath(const QString &name) { return QStringLiteral(TARVIX_TEST_DATA "/") + name; }
