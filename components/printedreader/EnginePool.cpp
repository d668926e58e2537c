#include "EnginePool.h"

#include <tesseract/baseapi.h>

#include <QByteArray>

#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace printed {

namespace {

struct Pool
{
    std::mutex mutex;
    std::vector<std::unique_ptr<tesseract::TessBaseAPI>> idle;
    QString folder;
    // Engines leased before the folder changed are not given back.
    quint64 generation = 1;
    // The last failure, so that a missing model is not loaded again for
    // every page (reset when the folder changes).
    QString failure;
};

Pool &ThePool()
{
    static Pool pool;
    return pool;
}

std::unique_ptr<tesseract::TessBaseAPI> NewEngine(const QString &folder, QString *error)
{
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // Tesseract reports its own trouble on stderr; the reason is returned
    // to the caller instead.
    api->SetVariable("debug_file", "/dev/null");
    const QByteArray path = folder.toLocal8Bit();
    if (api->Init(folder.isEmpty() ? nullptr : path.constData(), "rus+eng", tesseract::OEM_LSTM_ONLY) != 0) {
        *error = QStringLiteral("Tesseract cannot load the Russian and English language data%1")
                     .arg(folder.isEmpty() ? QString() : QStringLiteral(" from ") + folder);
        return nullptr;
    }
    std::vector<std::string> loaded;
    api->GetLoadedLanguagesAsVector(&loaded);
    for (const char *lang : {"rus", "eng"}) {
        if (std::find(loaded.begin(), loaded.end(), lang) == loaded.end()) {
            *error = QStringLiteral("Tesseract's language data \"%1\" is missing").arg(QLatin1String(lang));
            return nullptr;
        }
    }
    // The reader gives the resolution through the text's size; without this
    // Tesseract estimates it per picture and says so on stderr.
    api->SetVariable("user_defined_dpi", "300");
    // Documents print dark on light: reading every doubtful line again
    // inverted would cost more than a field's reading.
    api->SetVariable("tessedit_do_invert", "0");
    return api;
}

} // namespace

EngineLease::EngineLease(EngineLease &&other) noexcept
    : api_(std::move(other.api_)), generation_(other.generation_)
{
}

EngineLease &EngineLease::operator=(EngineLease &&other) noexcept
{
    if (this != &other) {
        EngineLease old(std::move(*this));
        api_ = std::move(other.api_);
        generation_ = other.generation_;
    }
    return *this;
}

EngineLease::~EngineLease()
{
    if (!api_)
        return;
    // Variables a reading set (alphabets) are cleared before the engine is
    // reused.
    api_->SetVariable("tessedit_char_whitelist", "");
    api_->Clear();
    Pool &pool = ThePool();
    std::lock_guard lock(pool.mutex);
    if (generation_ == pool.generation)
        pool.idle.push_back(std::move(api_));
}

EngineLease LeaseEngine(QString *error)
{
    // Tesseract shares a line's work among OpenMP threads that spin while
    // they wait: beside the window and the zone reader on a desk's few cores
    // that made a page take three times the processor time it takes on one.
    // The limit holds for the calling thread's readings. OpenMP's runtime
    // is Tesseract's to bring; a build of it without one has nothing to limit.
    using SetThreads = void (*)(int);
    static const auto setThreads = reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"));
    if (setThreads)
        setThreads(1);
    Pool &pool = ThePool();
    EngineLease lease;
    QString folder;
    {
        std::lock_guard lock(pool.mutex);
        lease.generation_ = pool.generation;
        if (!pool.idle.empty()) {
            lease.api_ = std::move(pool.idle.back());
            pool.idle.pop_back();
            return lease;
        }
        if (!pool.failure.isEmpty()) {
            if (error)
                *error = pool.failure;
            return lease;
        }
        folder = pool.folder;
    }
    // Loading takes a while: not under the lock, so that other calls take
    // idle engines meanwhile.
    QString why;
    lease.api_ = NewEngine(folder, &why);
    if (!lease.api_) {
        std::lock_guard lock(pool.mutex);
        if (lease.generation_ == pool.generation)
            pool.failure = why;
        if (error)
            *error = why;
    }
    return lease;
}

void SetLanguageDataFolder(const QString &folder)
{
    Pool &pool = ThePool();
    std::lock_guard lock(pool.mutex);
    pool.folder = folder;
    pool.idle.clear();
    pool.failure.clear();
    ++pool.generation;
}

QString LanguageDataFolder()
{
    Pool &pool = ThePool();
    std::lock_guard lock(pool.mutex);
    return pool.folder;
}

} // namespace printed
