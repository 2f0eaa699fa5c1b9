#include "app/Globals.h"

TGlobals Globals;
