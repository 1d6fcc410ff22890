#include "job/run_driver.h"
