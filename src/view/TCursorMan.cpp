#include "view/TCursorMan.h"

#include <QGuiApplication>

namespace {

std::optional<QCursor> ScreenCursor()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? std::optional<QCursor>(*cursor) : std::nullopt;
}

void SetScreenCursor(const std::optional<QCursor>& cursor)
{
    if (!cursor) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    } else if (QGuiApplication::overrideCursor()) {
        QGuiApplication::changeOverrideCursor(*cursor);
    } else {
        QGuiApplication::setOverrideCursor(*cursor);
    }
}

} // namespace

TCursorMan::TCursorMan(Qt::CursorShape cursor)
{
    const std::optional<QCursor> current = ScreenCursor();
    if (!IsBusy())
        FSavedCursor = current;
    if (!current || current->shape() != cursor) {
        SetScreenCursor(QCursor(cursor));
        QCoreApplication::processEvents();
    }
}

TCursorMan::~TCursorMan()
{
    SetScreenCursor(FSavedCursor);
}

std::shared_ptr<TCursorMan> BusyCursor()
{
    return std::make_shared<TCursorMan>(Qt::WaitCursor);
}

bool IsBusy()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}
