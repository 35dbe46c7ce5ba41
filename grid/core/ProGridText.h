#pragma once
// Line splitting, stream text and progress reports shared by the grid's text file readers and writers.
#include "grid/core/ProGrid.h"
#include "framework/rtl/System.h"
#include <QString>
#include <QStringView>
#include <vector>

class TStream;

struct TLineSpan
{
    qsizetype start;
    qsizetype length;
};

// Lines end at CR LF, a lone CR or a lone LF; a line end at the very end adds no empty line.
std::vector<TLineSpan> SplitLines(QStringView text);
// The rest of the stream as text: by byte-order mark, else UTF-8 when the bytes are valid UTF-8,
// else Windows-1252.
QString ReadStreamText(TStream *stream);

// Fires the progress event only when the rounded percentage changes.
class TProgressReporter
{
public:
    TProgressReporter(TObject *sender, const TGridProgressEvent &event) : sender_(sender), event_(event) {}
    void Report(double done, double total)
    {
        if (!event_)
            return;
        // A grid of one row has nothing to divide by: it is done at once.
        const int16_t percent = total > 0 ? int16_t(Round(done / total * 100.0)) : int16_t(100);
        if (percent == last_)
            return;
        last_ = percent;
        event_(sender_, percent);
    }

private:
    TObject *sender_;
    const TGridProgressEvent &event_;
    int16_t last_ = 0;
};

