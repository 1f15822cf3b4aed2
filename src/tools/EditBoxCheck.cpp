#include "tools/Steps.h"
