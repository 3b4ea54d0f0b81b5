#include "ModuleModel.h"
#include <gtest/gtest.h>
