// The end-to-end driver's older name, kept for the benchmarks.
#pragma once
#include "TestSupport.h"
namespace e2e = testsupport;
