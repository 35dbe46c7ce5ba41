#include "workspace/SimContext.h"

void TEventSlice::Slice()
{
    ticks_ = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < Interval) return;
    last_ = now;
    if (OnSlice) OnSlice();
    if (ctx_.ProcessMessages) ctx_.ProcessMessages();
}
