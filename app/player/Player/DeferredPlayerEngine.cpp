#include "Player/DeferredPlayerEngine.h"

#include <QTimer>

namespace Player {

DeferredPlayerEngine::DeferredPlayerEngine(Factory Make, QObject *Parent)
    : QObject(Parent), make_(std::move(Make)) {
    QTimer::singleShot(0, this, [this] { engine(); });
}

DeferredPlayerEngine::~DeferredPlayerEngine() = default;

IPlayerEngine &DeferredPlayerEngine::engine() {
    if (!engine_) {
        engine_ = make_();
        engine_->setEventHandler(handler_);
        if (volume_)
            engine_->setVolume(*volume_);
    }
    return *engine_;
}

void DeferredPlayerEngine::setEventHandler(EventHandler handler) {
    handler_ = handler;
    if (engine_)
        engine_->setEventHandler(std::move(handler));
}

void DeferredPlayerEngine::start(const QString &url) {
    engine().start(url);
}

void DeferredPlayerEngine::stop() {
    // Nothing plays before the engine exists.
    if (engine_)
        engine_->stop();
}

void DeferredPlayerEngine::setVolume(int percent) {
    volume_ = percent;
    if (engine_)
        engine_->setVolume(percent);
}

bool DeferredPlayerEngine::setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap) {
    return engine().setRecordingTap(std::move(tap));
}

} // namespace Player
