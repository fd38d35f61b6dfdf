#include "spots/SpotSettings.h"
