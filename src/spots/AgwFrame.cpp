#include "spots/AgwFrame.h"
