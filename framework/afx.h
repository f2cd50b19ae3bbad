// The framework's headers without windows: strings, exceptions, objects, archives, files,
// collections, time and geometry.
#pragma once

#include "AfxString.h"
#include "AfxException.h"
#include "AfxObject.h"
#include "AfxArchive.h"
#include "AfxFile.h"
#include "AfxStdioFile.h"
#include "AfxColl.h"
#include "AfxTempl.h"
#include "AfxTime.h"
#include "AfxGeometry.h"
#include "AfxPath.h"
#include "AfxResource.h"
