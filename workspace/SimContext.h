#pragma once
// What a window-free simulation engine needs of the window around it, and the time slice on
// which its inner loops let pending events in.
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

// The functions may be left empty.
struct TSimContext
{
    std::function<void()> ProcessMessages;
    std::function<void(const QString &)> ShowMessage;
    std::function<void(const QString &)> SetProgressCaption;
    std::function<void(int32_t)> SetProgressMax;
    std::function<void(int32_t)> SetProgressPosition;
    std::function<void()> CloseProgress;
    // The run's stop request; the engine sets it on a failure and stops when it is set.
    // An engine points it at a flag of its own until the run points it at the run's.
    bool *InterruptFlag = nullptr;
};

// Lets pending events in about every 10 ms, however fine-grained the loop that calls it: the
// clock is read only every few hundred calls, so a draw pays one counter increment.
class TEventSlice
{
public:
    explicit TEventSlice(TSimContext &Context) : ctx_(Context) {}
    // True when the run has been asked to stop.
    bool Stopped()
    {
        if (++ticks_ >= TicksPerClockRead) Slice();
        return ctx_.InterruptFlag && *ctx_.InterruptFlag;
    }
    // Called just before the events are let in (for example to move a progress bar).
    std::function<void()> OnSlice;

private:
    static constexpr int32_t TicksPerClockRead = 256;
    void Slice();

    TSimContext &ctx_;
    int32_t ticks_ = 0;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};
