#include "job/batch_file.h"
