// The Tesseract engines a recognizer reads with, and the one set of them kept between requests.
#pragma once

#include <tesseract/baseapi.h>

#include <memory>
#include <mutex>
#include <string>

#include "glyphsnap/recognition/tesseract/engine/languages.h"

namespace glyphsnap {

struct EngineSettings {
    std::string tessdataFolder;
    std::string languages;  // empty: nothing installed to recognise with
    friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

// The tessdata folder (TESSDATA_PREFIX, else Debian's) and the installed languages of the
// profile `environment` names.
EngineSettings SettingsFor(const EnvironmentReader& environment);

// An engine for `settings`; null when it does not start.
std::unique_ptr<tesseract::TessBaseAPI> StartEngine(const EngineSettings& settings);

// The engines of one set of languages: the main one, and three started at their first use, a
// second engine for a page's second band, and the Chinese model alone (in a Chinese profile) with
// a second of its own, so that two cores share the crops each kind reads.
class EngineSet {
  public:
    EngineSet() = default;
    EngineSet(EngineSettings settings, std::unique_ptr<tesseract::TessBaseAPI> main);

    const EngineSettings& Settings() const { return settings_; }
    tesseract::TessBaseAPI* Main() const { return main_.get(); }
    // Null in other profiles, or when the engine does not start (tried again at the next call).
    tesseract::TessBaseAPI* Ideographic();
    tesseract::TessBaseAPI* SecondIdeographic();
    // Null when the engine does not start (tried again at the next call).
    tesseract::TessBaseAPI* Second();

    // Nothing of the last request stays in any of the engines.
    void Forget();
    // Ends every engine, the main one last.
    void End();

  private:
    EngineSettings settings_;
    std::unique_ptr<tesseract::TessBaseAPI> main_;
    std::unique_ptr<tesseract::TessBaseAPI> ideographic_;
    std::unique_ptr<tesseract::TessBaseAPI> secondIdeographic_;
    std::unique_ptr<tesseract::TessBaseAPI> second_;
};

// The engines kept between requests, lent to one recognizer at a time: the lock is held for as
// long as the recognizer reads with them.
struct EngineLease {
    std::unique_lock<std::mutex> lock;
    EngineSet* engines = nullptr;
};

// The kept engines for `settings`. Engines kept for other settings end first (the old languages'
// model is freed before the new one loads); a main engine that did not start is started again.
// The lease's main engine is null when it does not start.
EngineLease LeaseCachedEngines(EngineSettings settings);

}  // namespace glyphsnap
