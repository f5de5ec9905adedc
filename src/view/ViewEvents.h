#pragma once

#include <QObject>

#include <functional>
#include <utility>

// Raises a published event if it has a handler. The handler runs from a copy, so that it may
// replace or clear the event while it runs.
template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args)
{
    if (!event)
        return;
    const Event handler = event;
    handler(std::forward<Args>(args)...);
}

// Raises a cancellable event whose flag starts false; true when the handler cancelled.
inline bool Cancelled(const std::function<void(QObject*, bool&)>& event, QObject* sender)
{
    bool handled = false;
    Raise(event, sender, handled);
    return handled;
}
