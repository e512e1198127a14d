#include "platform/process/environment.h"

#include <cstdlib>

int PutEnvironmentValue(const char* lpszName, const char* lpszValue) {
    if (!lpszValue || !*lpszValue)
        return unsetenv(lpszName) == 0 ? 0 : -1;
    return setenv(lpszName, lpszValue, 1) == 0 ? 0 : -1;
}
