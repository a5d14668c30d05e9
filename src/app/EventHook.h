#pragma once
// Reacts to events of one widget without subclassing it: the hook returns true to consume.
// It is a child of the watched object and goes away with it.

#include <QEvent>
#include <QObject>
#include <functional>

namespace korvel {

class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> hook)
        : QObject(watched), hook_(std::move(hook))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return hook_(event); }

private:
    std::function<bool(QEvent*)> hook_;
};

}  // namespace korvel
