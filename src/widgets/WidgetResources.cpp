#include "widgets/WidgetResources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initTessellorWidgetsResource()
{
    Q_INIT_RESOURCE(tessellor_widgets);
}

void initWidgetResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    initTessellorWidgetsResource();
}
