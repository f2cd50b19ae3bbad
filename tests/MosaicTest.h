// The one header through which test files include GoogleTest. <windows.h> comes first; the
// Windows target macros are hidden around GoogleTest so that it builds as on Linux, as the
// library itself was built.
#pragma once

#include <windows.h>

#include "BeginNativeHeaders.h"
#include <gtest/gtest.h>
#include "EndNativeHeaders.h"
