#pragma once
// What every harness shares: one offscreen application and a scratch folder as the working
// directory, a reader of the input's option byte and cells, and the check that turns a broken
// property into a finding.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

class TTarvix;

// Creates the application (offscreen) and enters a fresh scratch folder; idempotent.
void FuzzSetUp();
// The main window, created once, for the harnesses of the matrix and weights files.
TTarvix *FuzzMainWindow();
// A file name in the scratch folder.
QString FuzzPath(const QString &Name);
void FuzzWriteFile(const QString &Name, const uint8_t *Data, size_t Size);
QByteArray FuzzReadFile(const QString &Name);

// Reports a broken property with the input's context and ends the run (a finding).
[[noreturn]] void FuzzFail(const char *What, const QString &Detail = QString());
#define FUZZ_CHECK(cond, detail) \
    do { \
        if (!(cond)) \
            FuzzFail(#cond, detail); \
    } while (0)

// Cell texts taken from the input: valid UTF-8 (bad bytes become U+FFFD), rows split at 0x1E and
// cells at 0x1F, at most MaxRows x MaxCols, every row padded to the widest.
std::vector<QStringList> FuzzCells(const uint8_t *Data, size_t Size, int MaxRows, int MaxCols, int MinRows = 1, int MinCols = 1);
// The cells shown in readable form for a report.
QString FuzzShow(const std::vector<QStringList> &Cells);
