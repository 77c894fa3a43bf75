#include "app/TessellorApp.h"
#include "widgets/WidgetResources.h"

#include <QtGlobal>

// Resources compiled into a static library must be registered by hand.
static void initAppQrc()
{
    Q_INIT_RESOURCE(app);
}

void initTessellorResources()
{
    initAppQrc();
    initWidgetResources();
}
