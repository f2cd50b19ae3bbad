// The PDF library's headers, seen as on Linux.
#pragma once

#include "BeginNativeHeaders.h"
#include <PDFWriter.h>
#include <PDFPage.h>
#include <PageContentContext.h>
#include "EndNativeHeaders.h"
