#include "foundation/THelperThread.h"

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
    std::unique_lock lock(FMutex);
    FDone.wait(lock, [this] { return FJob == nullptr; });
}

void THelperThread::Loop()
{
    std::unique_lock lock(FMutex);
    for (;;) {
        FWake.wait(lock, [this] { return FStop || FJob != nullptr; });
        if (FStop)
            return;
        const std::function<void()>* job = FJob;
        lock.unlock();
        (*job)();
        lock.lock();
        FJob = nullptr;
        FDone.notify_one();
    }
}
