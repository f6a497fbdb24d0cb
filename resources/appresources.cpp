#include "resources/appresources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initResourceCollections()
{
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(orvalo3generated);
}

void initAppResources()
{
    static bool done = false;
    if (!done) {
        initResourceCollections();
        done = true;
    }
}
