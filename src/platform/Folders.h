#pragma once
// Where the desktop keeps the user's documents and application data.

#include "log/station/Folders.h"

namespace corvane {

FolderBases systemFolderBases();

} // namespace corvane
