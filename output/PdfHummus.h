// The PDF library's headers, seen as on Linux.
#pragma once

#include "BeginNativeHeaders.h"
#include <OutputStringBufferStream.h>
#include <PDFWriter.h>
#include <PDFPage.h>
#include <PDFFormXObject.h>
#include <PDFUsedFont.h>
#include <PageContentContext.h>
#include <ResourcesDictionary.h>
#include <UnicodeString.h>
#include "EndNativeHeaders.h"
