#include "WaterUser.h"
