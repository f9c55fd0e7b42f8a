#pragma once
// Runs the trend computation of one recording for the window: shows the cached trends at
// once when the cache holds them, else starts the workers (nearest the page first) and takes
// each block they post on the window's thread; writes the cache, from a worker, once every
// block is in. Another start, or the runner's end, cancels a computation under way.

#include "trend_engine.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class TrendsRunner : public QObject {
public:
    // `changed` runs on the window's thread whenever data() changed (blocks came in, another
    // recording, a computation complete).
    TrendsRunner(QString cacheFolder, std::function<void()> changed, QObject* parent = nullptr);
    ~TrendsRunner() override;

    // The trends of `request`: from the cache, or computed. False, with `error`, when the
    // recording cannot be read for trends (data() is then empty).
    bool start(const viewer::trends::TrendRequest& request, QString& error);
    // Cancels a computation under way and forgets the trends.
    void stop();

    const viewer::trends::TrendData& data() const { return data_; }
    bool complete() const { return data_.segments > 0 && done_ == data_.segments; }
    bool fromCache() const { return fromCache_; }
    int segmentsDone() const { return done_; }
    // The folder of the cache files.
    const QString& cacheFolder() const { return cacheFolder_; }

    // The user's trend cache folder: the cache location's Viewer/trends.
    static QString defaultCacheFolder();

private:
    void take(const std::shared_ptr<const viewer::trends::BlockResult>& block, unsigned run);

    QString cacheFolder_;
    std::function<void()> changed_;
    std::unique_ptr<viewer::trends::TrendEngine> engine_;
    viewer::trends::TrendData data_;
    int done_ = 0;
    bool fromCache_ = false;
    unsigned run_ = 0; // blocks of an earlier run that arrive late are dropped
};
