#include "job/archive_finder.h"
