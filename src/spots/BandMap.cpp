#include "spots/BandMap.h"
