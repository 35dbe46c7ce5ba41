#pragma once
// Weights tables of the analyses' user-defined dialogs: the weights file reader, the weights check
// and the real parse of cell and weight texts.
#include <QByteArray>
#include <QString>

class TStringGrid;

// Fills Grid from the bytes of a weights file: cells split at single spaces, rows at CR LF, LF
// or CR; a last line without a line end is a row like the others.
void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid);
// True when the weight in column 1 of every row 1.. is > 0; otherwise shows
// "Weights must be > 0 \r\nerror row: " with the first bad row and fails.
bool CheckWeightsTable(TStringGrid *Grid);
// The real at the start of a text: the whole text when it is a number, else the longest leading
// part that is one (sign kept), else 0.
double LeadingReal(const QString &S);
