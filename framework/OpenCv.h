// The image library's headers, seen as on Linux.
#pragma once

#include "BeginNativeHeaders.h"
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/imgcodecs.hpp>
#include "EndNativeHeaders.h"
