#pragma once

#include "core/state.h"

class QTimer;

namespace stage {

using InterludeState = core::InterludeState;

InterludeState &interlude();

// The repeating 10 ms timer of the interlude step; created by start-up.
QTimer *&interludeTimer();

} // namespace stage
