// The extra controls: panels, bevels, images, paint boxes, splitters and
// timers.
#pragma once
#include "bevel.h"
#include "image.h"
#include "paintbox.h"
#include "panel.h"
#include "splitter.h"
#include "timer.h"
