#include "workspace/SimContext.h"

void TEventSlice::Slice()
{
    ticks_ = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(10)) return;
    last_ = now;
    if (OnSlice) OnSlice();
    if (ctx_.ProcessMessages) ctx_.ProcessMessages();
}
