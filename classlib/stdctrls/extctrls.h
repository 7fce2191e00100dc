// The extra controls: panels, bevels, images, paint boxes, splitters and
// timers.
#pragma once
#include "classlib/stdctrls/bevel.h"
#include "classlib/graphics/image.h"
#include "classlib/stdctrls/paintbox.h"
#include "classlib/stdctrls/panel.h"
#include "classlib/stdctrls/splitter.h"
#include "classlib/stdctrls/timer.h"
