#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A second thread that lives as long as its owner and takes one part of a job at a time. Run
// hands it one part, does the other on the calling thread and returns when both are done, so
// that callers stay synchronous; starting a thread per job would cost more than a small job.
// One caller at a time.
class THelperThread
{
public:
    THelperThread() = default;
    ~THelperThread();
    THelperThread(const THelperThread&) = delete;
    THelperThread& operator=(const THelperThread&) = delete;

    // theirs runs on the helper while mine runs on the caller; theirs must not throw. Should mine
    // throw, the helper's part still finishes before the exception leaves.
    void Run(const std::function<void()>& theirs, const std::function<void()>& mine);

private:
    void Loop();
    void Wait();

    std::mutex FMutex;
    std::condition_variable FWake;
    std::condition_variable FDone;
    // The part waiting for or running on the helper; null when it is idle.
    const std::function<void()>* FJob = nullptr;
    // FJob is set: what either side watches before it sleeps.
    std::atomic<bool> FBusy = false;
    bool FStop = false;
    // Started by the first Run.
    std::thread FThread;
};
