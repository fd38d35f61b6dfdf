#pragma once
// Where the desktop keeps the user's documents and application data.

#include "core/UserFolders.h"

namespace corvane {

FolderBases systemFolderBases();

} // namespace corvane
