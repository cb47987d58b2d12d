#include "core/DataTables.h"

#include <gtest/gtest.h>
