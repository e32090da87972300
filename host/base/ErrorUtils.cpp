#include "ErrorUtils.h"

namespace {
ErrorCode gGlobalErrorCode = kSuccess;
}

void ErrorUtils::PMSetGlobalErrorCode(ErrorCode code) { gGlobalErrorCode = code; }
ErrorCode ErrorUtils::PMGetGlobalErrorCode() { return gGlobalErrorCode; }
