#include "spots/StatusText.h"
