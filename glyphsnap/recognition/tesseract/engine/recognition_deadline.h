// How long and on how many threads a request's recognition runs.
#pragma once

#include <omp.h>
#include <tesseract/ocrclass.h>

#include <chrono>

#include "glyphsnap/recognition/tesseract/engine/languages.h"

namespace glyphsnap {

// Stops the engine once the time is up. Tesseract asks after each word; the layout analysis
// before the first word cannot be stopped.
class RecognitionDeadline {
  public:
    explicit RecognitionDeadline(std::chrono::milliseconds limit)
        : RecognitionDeadline(std::chrono::steady_clock::now() + limit) {}
    // The same deadline with a monitor of its own, for another engine reading at the same time.
    explicit RecognitionDeadline(std::chrono::steady_clock::time_point end) : end_(end) {
        monitor_.cancel = &RecognitionDeadline::Cancel;
        monitor_.cancel_this = this;
    }
    std::chrono::steady_clock::time_point End() const { return end_; }
    RecognitionDeadline(const RecognitionDeadline&) = delete;
    RecognitionDeadline& operator=(const RecognitionDeadline&) = delete;

    bool Passed() const { return std::chrono::steady_clock::now() >= end_; }
    tesseract::ETEXT_DESC* Monitor() { return &monitor_; }

  private:
    static bool Cancel(void* self, int /*words*/) {
        return static_cast<const RecognitionDeadline*>(self)->Passed();
    }

    std::chrono::steady_clock::time_point end_;
    tesseract::ETEXT_DESC monitor_;
};

// Tesseract asks OpenMP for up to four threads per parallel region; on a machine with few cores
// they spin against each other and make recognition several times slower. The nesting limit is
// kept per thread, so it is set on the thread that recognises. A user who sets OMP_THREAD_LIMIT
// has chosen for themselves.
enum class ThreadUse { OneThread, AsConfigured };

inline ThreadUse ThreadUseFor(const EnvironmentReader& environment) {
    return environment("OMP_THREAD_LIMIT") == nullptr ? ThreadUse::OneThread
                                                      : ThreadUse::AsConfigured;
}

inline void KeepRecognitionOnThisThread(ThreadUse threads) {
    if (threads == ThreadUse::OneThread) {
        omp_set_max_active_levels(0);
    }
}

}  // namespace glyphsnap
