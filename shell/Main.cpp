// The program's entry point and its one application object.
#include "AfxApp.h"
#include "VitrolanApp.h"

CVitrolanApp theApp;
