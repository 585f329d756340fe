#include "shared/VH_Common_Var.h"

HINSTANCE ResInstance = nullptr;
