#include "app/Settings.h"
