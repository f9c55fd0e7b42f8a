#include "TrendsRunner.h"

#include "trend_cache.h"

#include <QDir>
#include <QStandardPaths>

#include <utility>

namespace tr = viewer::trends;

TrendsRunner::TrendsRunner(QString cacheFolder, std::function<void()> changed, QObject* parent)
    : QObject(parent), cacheFolder_(std::move(cacheFolder)), changed_(std::move(changed)) {}

TrendsRunner::~TrendsRunner() { stop(); }

QString TrendsRunner::defaultCacheFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("Viewer/trends"));
}

void TrendsRunner::stop() {
    ++run_;
    engine_.reset(); // cancels and joins
    data_ = tr::TrendData{};
    done_ = 0;
    fromCache_ = false;
}

bool TrendsRunner::start(const tr::TrendRequest& request, QString& error) {
    stop();
    const std::string folder = cacheFolder_.toStdString();
    const std::string key = tr::cacheKey(request.path, request.montage, request.segmentSeconds);
    if (!key.empty()) {
        if (std::optional<tr::TrendData> cached = tr::readCache(folder, key)) {
            data_ = std::move(*cached);
            done_ = data_.segmentsDone();
            fromCache_ = true;
            changed_();
            return true;
        }
    }
    engine_ = std::make_unique<tr::TrendEngine>();
    std::string why;
    if (!engine_->open(request, why)) {
        engine_.reset();
        error = QString::fromStdString(why);
        changed_();
        return false;
    }
    data_ = engine_->layout();
    const unsigned run = run_;
    engine_->start(
        [this, run](const tr::BlockResult& r) {
            auto block = std::make_shared<const tr::BlockResult>(r);
            QMetaObject::invokeMethod(
                this, [this, block, run] { take(block, run); }, Qt::QueuedConnection);
        },
        [folder, key](const tr::TrendData& complete) {
            if (!key.empty()) {
                tr::writeCache(folder, key, complete);
            }
        });
    changed_();
    return true;
}

void TrendsRunner::take(const std::shared_ptr<const tr::BlockResult>& block, unsigned run) {
    if (run != run_) {
        return;
    }
    data_.merge(*block);
    done_ += block->count;
    changed_();
}
