#include "platform/Collation.h"
