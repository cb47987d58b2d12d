#include "DataTables.h"
