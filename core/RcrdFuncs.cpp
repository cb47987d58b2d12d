#include "RcrdFuncs.h"
