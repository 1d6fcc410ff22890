#include "job/command_runner.h"
