#include "SimOptions.h"
#include <gtest/gtest.h>
