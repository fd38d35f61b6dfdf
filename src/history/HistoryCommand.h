#pragma once
// corvane history --out FILE [--adif FILE...]: the merged call history of the working
// folder's log (and of the ADIF files named) written as a call history file, to share.

#include <ostream>
#include <string>
#include <vector>

namespace corvane {

// `args`: the arguments after "history". Returns the exit status: 0 written, 1 a file could
// not be read or written, 2 wrong usage.
int runHistoryCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace corvane
