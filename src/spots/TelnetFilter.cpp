#include "spots/TelnetFilter.h"
