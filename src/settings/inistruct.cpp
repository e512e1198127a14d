#include "settings/inistruct.h"

INISTRUCT IniStruct{};
