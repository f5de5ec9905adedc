#pragma once

#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphCommands.h"
#include "view/TGraphInteraction.h"
#include "view/TGraphPopupMenu.h"

#include <QMenu>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

// A 400 x 300 view with square nodes and shown links, and a log of the events it raises (with
// the object they carry, by caption).
class ViewTest : public ::testing::Test
{
protected:
    ViewTest()
    {
        view.resize(400, 300);
        view.SetShowShape(true);
        view.SetShowEdges(true);
        view.SetShowDirections(true);
    }
    ~ViewTest() override { view.PopupMenu().Menu().hide(); }

    TOrganizedNode* AddNode(QPoint at, const QString& caption = QString())
    {
        TOrganizedNode* node = model().NewNode(at, caption);
        node->Shape = 0;
        node->Size = 20;
        return node;
    }
    TEgoNetEdge* Connect(TOrganizedNode* a, TOrganizedNode* b, const QString& type = QString())
    {
        return model().NewLink(a, b, type, QString());
    }

    // Records every event under its name; cancellable ones answer `cancel`.
    void LogEvents(bool cancel = false)
    {
        const auto note = [this](const char* name) { return [this, name](QObject*) { events << name; }; };
        const auto ask = [this, cancel](const char* name) {
            return [this, name, cancel](QObject*, bool& handled) {
                events << name;
                handled = cancel;
            };
        };
        const auto carry = [this](const char* name) {
            return [this, name](QObject*, TEgoNetObject* object) {
                events << QString::fromLatin1(name) + "(" + (object ? object->Caption() : QString()) + ")";
            };
        };
        view.OnSelect = note("Select");
        view.OnSelectEdgeTypes = note("SelectEdgeTypes");
        view.OnAddingNode = ask("AddingNode");
        view.OnAddNode = carry("AddNode");
        view.OnDeletingNodes = ask("DeletingNodes");
        view.OnDeleteNodes = note("DeleteNodes");
        view.OnDisablingNodes = ask("DisablingNodes");
        view.OnDisableNodes = note("DisableNodes");
        view.OnAddingLink = ask("AddingLink");
        view.OnAddLink = carry("AddLink");
        view.OnDeletingLinks = ask("DeletingLinks");
        view.OnDeleteLinks = note("DeleteLinks");
        view.OnGroupingNodes = ask("GroupingNodes");
        view.OnGroupNodes = carry("GroupNodes");
        view.OnUnGroupNodes = carry("UnGroupNodes");
        view.OnEditNodeRequest = carry("EditNode");
        view.OnEditLinkRequest = carry("EditLink");
        view.OnCombine = note("Combine");
        view.OnDisplaySettingsRequest = note("DisplaySettings");
    }

    void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(&view, button, modifiers, p);
    }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseRelease(&view, button, modifiers, p);
    }
    // A move with the pressed buttons still held.
    void Drag(QPoint p) { QTest::mouseMove(&view, p); }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        Press(p, button, modifiers);
        Release(p, button, modifiers);
    }
    void DoubleClick(QPoint p)
    {
        Click(p);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, p);
        Release(p);
    }
    // A move with no button held, as the pointer hovers.
    void Hover(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, p, view.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &move);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&view, key, modifiers); }

    TEgoNetModel& model() { return view.Model(); }
    TGraphCommands& commands() { return view.Commands(); }
    TGraphPopupMenu& menu() { return view.PopupMenu(); }
    bool MenuShown() { return view.PopupMenu().Menu().isVisible(); }

    TEgoNetGraphDisplay view;
    QStringList events;
};
