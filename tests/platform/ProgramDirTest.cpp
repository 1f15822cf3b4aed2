#include "platform/ProgramDir.h"
