#include "job/log_entry.h"
