#include "app/AppResources.h"

#include <QtGlobal>

void InitAppResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    Q_UNUSED(registered);
}
