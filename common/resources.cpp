#include "common/resources.h"

#include <QtGlobal>

void loadResources()
{
    Q_INIT_RESOURCE(resources);
}
