#include "spots/SpotIntake.h"
