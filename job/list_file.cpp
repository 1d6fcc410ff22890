#include "job/list_file.h"
