#include "ExchangeFile.h"
