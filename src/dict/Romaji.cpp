#include "dict/Romaji.h"
