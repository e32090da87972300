// The host's global error code: the last failure of a host operation, reset by callers that
// want one failed object not to fail the work around it.
#pragma once

#include "PMTypes.h"

namespace ErrorUtils {
void PMSetGlobalErrorCode(ErrorCode code);
ErrorCode PMGetGlobalErrorCode();
}
