#include "spots/SpotText.h"
