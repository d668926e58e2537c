#pragma once
// Initialised Tesseract engines kept for reuse: loading the Russian and
// English models takes longer than reading a page, and the engine servers
// call from short-lived threads, so an engine belongs to a call (leased from
// the pool and given back), not to a thread.

#include <QString>

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

namespace printed {

class EngineLease
{
public:
    EngineLease() = default;
    EngineLease(EngineLease &&other) noexcept;
    EngineLease &operator=(EngineLease &&other) noexcept;
    EngineLease(const EngineLease &) = delete;
    EngineLease &operator=(const EngineLease &) = delete;
    ~EngineLease();

    explicit operator bool() const { return api_ != nullptr; }
    tesseract::TessBaseAPI *operator->() const { return api_.get(); }
    tesseract::TessBaseAPI &operator*() const { return *api_; }

private:
    friend EngineLease LeaseEngine(QString *error);
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    quint64 generation_ = 0;
};

/// An engine with rus+eng loaded (LSTM): one from the pool, or a new one.
/// Empty, with *error, when Tesseract or its language data cannot load.
EngineLease LeaseEngine(QString *error = nullptr);

/// The folder of the language data; empty for Tesseract's own default
/// (TESSDATA_PREFIX or the system's folder). Engines loaded from another
/// folder are dropped.
void SetLanguageDataFolder(const QString &folder);
QString LanguageDataFolder();

} // namespace printed
