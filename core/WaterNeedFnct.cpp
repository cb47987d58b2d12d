#include "WaterNeedFnct.h"
