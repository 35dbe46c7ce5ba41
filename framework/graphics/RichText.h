#pragma once
// Rich text as runs of equally formatted characters, read from and written to RTF.
#include "framework/graphics/Graphics.h"
#include <QByteArray>
#include <vector>

class QTextDocument;

TARVIX_DECLARE_EXCEPTION(ERichTextError, EConvertError)

enum TRichVertical { rvNormal, rvSuperscript, rvSubscript };

struct TRichRun
{
    QString Text; // "\n" ends a paragraph
    QString FontName; // empty: the default font
    int FontSize = 0; // points; 0: the default size
    TFontStyles Style;
    TColor Color = clDefault;
    TRichVertical Vertical = rvNormal;

    bool SameFormat(const TRichRun &o) const
    {
        return FontName == o.FontName && FontSize == o.FontSize && Style == o.Style && Color == o.Color && Vertical == o.Vertical;
    }
    bool operator==(const TRichRun &o) const { return Text == o.Text && SameFormat(o); }
};

using TRichText = std::vector<TRichRun>;

// The plain characters of the runs.
QString RichTextPlain(const TRichText &Runs);
// Writes 8-bit RTF; characters outside Windows-1252 become \u escapes.
QByteArray RichTextToRTF(const TRichText &Runs);
// Reads RTF; raises ERichTextError when it is not RTF or its groups do not balance.
// Neighbouring runs of one format are joined.
TRichText RTFToRichText(const QByteArray &Rtf);

// Paints the runs into R of the canvas, wrapped at R's width and cut at its edges.
void DrawRichText(TCanvas *Canvas, const TRichText &Runs, const TRect &R);
// The size the runs take when DrawRichText lays them out in the canvas's font: wrapped at Width,
// or as wide as the longest line when Width <= 0.
TSize RichTextExtent(TCanvas *Canvas, const TRichText &Runs, int Width);

void RichTextToDocument(const TRichText &Runs, QTextDocument *Document);
TRichText DocumentToRichText(const QTextDocument *Document);
