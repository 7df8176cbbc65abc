#include "stage/interludestate.h"

namespace stage {

InterludeState &interlude()
{
    return core::process().interlude;
}

QTimer *&interludeTimer()
{
    return core::interludeTimer();
}

} // namespace stage
