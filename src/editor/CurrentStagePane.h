// The stage pane that last received a press: the paint tasks redraw the stage under the pixel editor from
// it, through its DrawContent alone.
#pragma once

#include "core/Smart.h"

class View;

extern SmartRef<View> gCurrentStagePane;
