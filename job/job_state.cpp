#include "job/job_state.h"
