#include "foundation/THelperThread.h"

#include <chrono>
#include <thread>

namespace {

// Waking a sleeping thread costs about as much as a small job, and jobs often follow each other
// closely (the steps of a layout): either side first watches for this long before it sleeps.
constexpr std::chrono::microseconds kWatch{50};

template <typename Done>
void WatchFor(const Done& done)
{
    const auto until = std::chrono::steady_clock::now() + kWatch;
    while (!done() && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
}

} // namespace

THelperThread::~THelperThread()
{
    if (!FThread.joinable())
        return;
    {
        const std::lock_guard lock(FMutex);
        FStop = true;
    }
    FWake.notify_one();
    FThread.join();
}

void THelperThread::Run(const std::function<void()>& theirs, const std::function<void()>& mine)
{
    if (!FThread.joinable())
        FThread = std::thread([this] { Loop(); });
    {
        const std::lock_guard lock(FMutex);
        FJob = &theirs;
        FBusy = true;
    }
    FWake.notify_one();
    try {
        mine();
    } catch (...) {
        Wait();
        throw;
    }
    Wait();
}

void THelperThread::Wait()
{
    WatchFor([this] { return !FBusy.load(std::memory_order_acquire); });
    std::unique_lock lock(FMutex);
    FDone.wait(lock, [this] { return FJob == nullptr; });
}

void THelperThread::Loop()
{
    std::unique_lock lock(FMutex);
    for (;;) {
        if (FJob == nullptr && !FStop) {
            lock.unlock();
            WatchFor([this] { return FBusy.load(std::memory_order_acquire); });
            lock.lock();
        }
        FWake.wait(lock, [this] { return FStop || FJob != nullptr; });
        if (FStop)
            return;
        const std::function<void()>* job = FJob;
        lock.unlock();
        (*job)();
        lock.lock();
        FJob = nullptr;
        FBusy = false;
        FDone.notify_one();
    }
}
