#include "shared/shared_units.h"

#include "shared/VH_Common_Const.h"
#include "shared/VH_Common_Proc.h"
#include "shared/VH_Common_Var.h"
#include "shared/unitMyLog.h"

SharedUnits::SharedUnits() {
    MyLog = new TMyLog();
    InitializeCommonVar();
    InitializeCommonConst();
    InitializeCommonProc();
}

SharedUnits::~SharedUnits() {
    FinalizeCommonProc();
    FinalizeCommonConst();
    FinalizeCommonVar();
    delete MyLog;
    MyLog = nullptr;
}
