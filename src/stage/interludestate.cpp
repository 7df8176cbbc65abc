#include "stage/interludestate.h"

namespace stage {

InterludeState &interlude()
{
    static InterludeState s;
    return s;
}

QTimer *&interludeTimer()
{
    static QTimer *timer = nullptr;
    return timer;
}

} // namespace stage
