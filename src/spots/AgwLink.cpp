#include "spots/AgwLink.h"
