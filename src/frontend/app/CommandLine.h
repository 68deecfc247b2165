// Reading the command line into the settings.
#pragma once

// Examines each argument against every option in order; several options
// can fire on one argument, and an option with a value moves the
// remaining tests of the pass onto that value. "-h"/"-help" print the
// option list and end the process. "bench [DEPTH]" as the first arguments
// runs benchmark 1 to that depth (11 by default) and ends with the line
// "N nodes M nps"; the arguments after it are options as usual.
void ParseCommandLine(int argc, char** argv);
