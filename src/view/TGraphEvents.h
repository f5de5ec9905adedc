#pragma once

#include <QObject>
#include <QString>

#include <functional>

class TEgoNetObject;

// Handlers of the view's published events; the sender is the view. Events before an operation
// carry a flag that starts false; a handler that sets it cancels the operation.
using TNotifyEvent = std::function<void(QObject* sender)>;
using TCancelEvent = std::function<void(QObject* sender, bool& handled)>;
using TObjectEvent = std::function<void(QObject* sender, TEgoNetObject* object)>;
using TStepEvent = std::function<void(QObject* sender, const QString& step)>;
using TDropEvent = std::function<void(QObject* sender, TEgoNetObject* dropped, TEgoNetObject* target, bool& handled)>;

// The published events of the graph view, which the scrolling host raises again as its own with
// itself as the sender. Each is raised only when set.
struct TGraphEvents
{
    TNotifyEvent OnSelect;
    TNotifyEvent OnSelectEdgeTypes;
    TNotifyEvent OnChangeSettings;
    // Raised by the editing commands and the mouse and keyboard handling.
    TCancelEvent OnAddingNode;
    TObjectEvent OnAddNode;
    TCancelEvent OnDeletingNodes;
    TNotifyEvent OnDeleteNodes;
    TCancelEvent OnDisablingNodes;
    TNotifyEvent OnDisableNodes;
    TCancelEvent OnAddingLink;
    TObjectEvent OnAddLink;
    TCancelEvent OnDeletingLinks;
    TNotifyEvent OnDeleteLinks;
    TCancelEvent OnGroupingNodes;
    TObjectEvent OnGroupNodes;
    TObjectEvent OnUnGroupNodes;
    // Its flag starts true: dropped nodes join the group only when a handler clears it.
    TDropEvent OnAddingToGroup;
    TObjectEvent OnEditNodeRequest;
    TObjectEvent OnEditLinkRequest;
    TNotifyEvent OnCombine;
    TNotifyEvent OnDisplaySettingsRequest;
    // After each layout step, and when a layout run ends.
    TNotifyEvent OnOrganizeIteration;
    TNotifyEvent OnOrganizeDone;
    // An edit of what a save writes has ended; step names it for the user ("Delete Persons").
    TStepEvent OnEdited;
};
