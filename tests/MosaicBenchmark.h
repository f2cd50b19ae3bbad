// The one header through which benchmark files include Google Benchmark, seen as on Linux.
#pragma once

#include <windows.h>

#include "BeginNativeHeaders.h"
#include <benchmark/benchmark.h>
#include "EndNativeHeaders.h"
