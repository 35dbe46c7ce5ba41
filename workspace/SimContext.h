#pragma once
// What a simulation engine needs of the window around it, and the time slice on which a long
// simulation lets pending events in. Engines run without a window: the run hands in its event
// pump, message box, progress display and stop flag.
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
    bool *InterruptFlag = nullptr;
};

// Lets pending events in about every 10 ms, however fine-grained the loop that calls it: the
// clock is read only every TicksPerClockRead calls, so a cheap step pays one counter increment.
// Loops whose steps cost microseconds or more read it on every call.
class TEventSlice
{
public:
    explicit TEventSlice(TSimContext &Context, int32_t TicksPerClockRead = 256)
        : ctx_(Context), ticksPerRead_(TicksPerClockRead < 1 ? 1 : TicksPerClockRead)
    {
    }
    // True when the run has been asked to stop.
    bool Stopped()
    {
        if (++ticks_ >= ticksPerRead_) Slice();
        return ctx_.InterruptFlag && *ctx_.InterruptFlag;
    }
    // Called just before the events are let in (for example to move a progress bar).
    std::function<void()> OnSlice;

    static constexpr std::chrono::milliseconds Interval{10};

private:
    void Slice();

    TSimContext &ctx_;
    int32_t ticksPerRead_;
    int32_t ticks_ = 0;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};
