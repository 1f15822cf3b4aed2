#include "dict/DicFileSet.h"
