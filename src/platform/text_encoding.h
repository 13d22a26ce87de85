// CP949 <-> UTF-8 for the edges that show text to a person. The conversion
// itself lives in the core (settings/cp949_conversion.h), which also needs it
// to write captions in another encoding; this header keeps the platform
// layer's name for it.
#pragma once

#include "settings/cp949_conversion.h"
