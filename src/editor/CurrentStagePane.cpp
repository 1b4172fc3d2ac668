#include "editor/CurrentStagePane.h"

#include "ui/views/View.h"

SmartRef<View> gCurrentStagePane;
