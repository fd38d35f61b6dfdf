#include "spots/RecentSpots.h"
